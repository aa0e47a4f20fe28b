#include "browse/check_propagation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace velmor {

namespace {

// Time the control needs to toggle the clicked item before its state is read.
constexpr std::chrono::milliseconds kToggleSettleTime{100};

// The first child of the item's parent is the root item itself.
bool AtRootLevel(const FolderTree& tree, TreeItem item) {
    const std::vector<TreeItem> siblings = tree.Children(tree.Parent(item));
    const std::vector<TreeItem> topLevel = tree.Children(kNoTreeItem);
    return !siblings.empty() && !topLevel.empty() && siblings.front() == topLevel.front();
}

int CountChecked(const FolderTree& tree, const std::vector<TreeItem>& items, size_t from) {
    int count = 0;
    for (size_t i = from; i < items.size(); ++i) {
        count += tree.CheckState(items[i]) == kChecked ? 1 : 0;
    }
    return count;
}

void SetSubtree(FolderTree& tree, TreeItem item, int state) {
    std::vector<TreeItem> pending = tree.Children(item);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const TreeItem at = pending.back();
        pending.pop_back();
        tree.SetCheckState(at, state);
        std::vector<TreeItem> children = tree.Children(at);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
}

}  // namespace

bool RelatedItemsChecked(const FolderTree& tree, TreeItem clicked) {
    if (AtRootLevel(tree, clicked)) {
        return false;
    }
    TreeItem level = tree.Parent(clicked);
    int count = CountChecked(tree, tree.Children(level), 0);
    while (level != kNoTreeItem && tree.Parent(level) != kNoTreeItem) {
        const std::vector<TreeItem> siblings = tree.Children(tree.Parent(level));
        const auto at = std::find(siblings.begin(), siblings.end(), level);
        count += CountChecked(tree, siblings, static_cast<size_t>(at - siblings.begin()));
        level = tree.Parent(level);
    }
    return count > 0;
}

void PropagateCheck(FolderTree& tree, TreeItem clicked) {
    const int state = tree.CheckState(clicked);
    if (state == kChecked || !RelatedItemsChecked(tree, clicked)) {
        for (TreeItem at = clicked; at != kNoTreeItem; at = tree.Parent(at)) {
            tree.SetCheckState(at, state);
        }
    }
    SetSubtree(tree, clicked, state);
}

void CheckPropagation::OnCheckBoxPressed(TreeItem item) {
    clicked_ = item;
    if (pending_) {
        pressTree_.SetCheckState(item, kChecked);
        return;
    }
    pending_ = true;
    start_([this] { Propagate(); });
}

void CheckPropagation::Propagate() {
    std::this_thread::sleep_for(kToggleSettleTime);
    PropagateCheck(workerTree_, clicked_);
    pending_ = false;
}

}  // namespace velmor
