#include "browse/plain_folder_tree.h"

namespace velmor {

TreeItem PlainFolderTree::InsertItem(const std::u16string& text, int image, int selectedImage,
                                     TreeItem parent) {
    std::lock_guard lock(mutex_);
    Node node;
    node.text = text;
    node.image = image;
    node.selectedImage = selectedImage;
    Node* parentNode = Find(parent);
    node.parent = parentNode ? parent : kNoTreeItem;
    nodes_.push_back(std::move(node));
    const TreeItem item = nodes_.size();
    // The push may have moved the nodes; look the parent up again.
    (parentNode ? Find(parent)->children : topLevel_).push_back(item);
    return item;
}

std::vector<TreeItem> PlainFolderTree::Children(TreeItem parent) const {
    std::lock_guard lock(mutex_);
    if (parent == kNoTreeItem) {
        return topLevel_;
    }
    const Node* node = Find(parent);
    return node ? node->children : std::vector<TreeItem>{};
}

TreeItem PlainFolderTree::Parent(TreeItem item) const {
    std::lock_guard lock(mutex_);
    const Node* node = Find(item);
    return node ? node->parent : kNoTreeItem;
}

std::u16string PlainFolderTree::Text(TreeItem item) const {
    std::lock_guard lock(mutex_);
    const Node* node = Find(item);
    return node ? node->text : std::u16string{};
}

int PlainFolderTree::CheckState(TreeItem item) const {
    std::lock_guard lock(mutex_);
    const Node* node = Find(item);
    return node ? node->checkState : kUnchecked;
}

void PlainFolderTree::SetCheckState(TreeItem item, int state) {
    std::lock_guard lock(mutex_);
    if (Node* node = Find(item)) {
        node->checkState = state;
    }
}

void PlainFolderTree::Expand(TreeItem item) {
    std::lock_guard lock(mutex_);
    if (Node* node = Find(item)) {
        node->expanded = true;
    }
}

void PlainFolderTree::DeleteAllItems() {
    std::lock_guard lock(mutex_);
    nodes_.clear();
    topLevel_.clear();
}

int PlainFolderTree::Image(TreeItem item) const {
    std::lock_guard lock(mutex_);
    const Node* node = Find(item);
    return node ? node->image : 0;
}

int PlainFolderTree::SelectedImage(TreeItem item) const {
    std::lock_guard lock(mutex_);
    const Node* node = Find(item);
    return node ? node->selectedImage : 0;
}

bool PlainFolderTree::IsExpanded(TreeItem item) const {
    std::lock_guard lock(mutex_);
    const Node* node = Find(item);
    return node && node->expanded;
}

std::vector<TreeItem> PlainFolderTree::AllItems() const {
    std::lock_guard lock(mutex_);
    std::vector<TreeItem> order;
    order.reserve(nodes_.size());
    std::vector<TreeItem> pending(topLevel_.rbegin(), topLevel_.rend());
    while (!pending.empty()) {
        const TreeItem item = pending.back();
        pending.pop_back();
        order.push_back(item);
        const auto& children = Find(item)->children;
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return order;
}

PlainFolderTree::Node* PlainFolderTree::Find(TreeItem item) {
    return item == kNoTreeItem || item > nodes_.size() ? nullptr : &nodes_[item - 1];
}

const PlainFolderTree::Node* PlainFolderTree::Find(TreeItem item) const {
    return item == kNoTreeItem || item > nodes_.size() ? nullptr : &nodes_[item - 1];
}

}  // namespace velmor
