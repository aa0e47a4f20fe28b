#include "discovery/page_groups.h"

namespace velmor {

void PageGroupList::AddPage(int32_t objectId, int32_t pageNumber) {
    if (lastGroup_ >= groups_.size() || groups_[lastGroup_].objectId != objectId) {
        auto [it, inserted] = indexById_.try_emplace(objectId, groups_.size());
        if (inserted) {
            groups_.push_back(ObjectPageGroup{objectId, 0, {}});
        }
        lastGroup_ = it->second;
    }
    ObjectPageGroup& group = groups_[lastGroup_];
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
    lastGroup_ = 0;
}

}  // namespace velmor
