#include "browse/check_propagation.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace velmor {

namespace {

// Time the control needs to toggle the clicked item before its state is read.
constexpr std::chrono::milliseconds kToggleSettleTime{100};

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

bool AnyDescendantChecked(const FolderTree& tree, TreeItem item) {
    for (TreeItem child : tree.Children(item)) {
        if (tree.CheckState(child) == kChecked || AnyDescendantChecked(tree, child)) {
            return true;
        }
    }
    return false;
}

void PropagateCheck(FolderTree& tree, TreeItem clicked) {
    const int state = tree.CheckState(clicked);
    SetSubtree(tree, clicked, state);
    if (state == kChecked) {
        for (TreeItem at = tree.Parent(clicked); at != kNoTreeItem; at = tree.Parent(at)) {
            tree.SetCheckState(at, kChecked);
        }
        return;
    }
    for (TreeItem at = tree.Parent(clicked); at != kNoTreeItem && !AnyDescendantChecked(tree, at);
         at = tree.Parent(at)) {
        tree.SetCheckState(at, kUnchecked);
    }
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
