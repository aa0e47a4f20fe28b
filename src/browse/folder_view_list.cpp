#include "browse/folder_view_list.h"

namespace velmor {

void FolderViewList::Append(FolderViewNode node) {
    auto link = std::make_unique<Link>();
    link->node = std::move(node);
    Link* added = link.get();
    owned_.push_back(std::move(link));
    // The release store publishes the node's fields together with the link.
    (tail_ ? tail_->next : head_).store(added, std::memory_order_release);
    tail_ = added;
}

FolderViewNode* FolderViewList::FindByPath(const std::u16string& path) const {
    FolderViewNode* found = nullptr;
    ForEach([&](FolderViewNode& node) {
        if (node.treePath == path) {
            found = &node;
        }
        return found == nullptr;
    });
    return found;
}

const FolderViewNode* FolderViewList::FindByTreeItem(TreeItem item) const {
    const FolderViewNode* found = nullptr;
    ForEach([&](const FolderViewNode& node) {
        if (node.treeItem == item) {
            found = &node;
        }
        return found == nullptr;
    });
    return found;
}

void FolderViewList::Clear() {
    head_.store(nullptr, std::memory_order_release);
    tail_ = nullptr;
    std::vector<std::unique_ptr<Link>>().swap(owned_);
}

}  // namespace velmor
