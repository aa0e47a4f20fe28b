#include "discovery/page_groups.h"

namespace velmor {

void PageGroupList::AddPage(int32_t objectId, int32_t pageNumber) {
    auto [it, inserted] = indexById_.try_emplace(objectId, groups_.size());
    if (inserted) {
        groups_.push_back(ObjectPageGroup{objectId, 1, {pageNumber}});
        return;
    }
    ObjectPageGroup& group = groups_[it->second];
    ++group.pageCount;
    group.pages.push_back(pageNumber);
}

ObjectPageGroup* PageGroupList::Find(int32_t objectId) {
    auto it = indexById_.find(objectId);
    return it == indexById_.end() ? nullptr : &groups_[it->second];
}

void PageGroupList::Clear() {
    std::deque<ObjectPageGroup>().swap(groups_);
    std::unordered_map<int32_t, size_t>().swap(indexById_);
}

}  // namespace velmor
