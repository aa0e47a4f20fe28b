#pragma once

#include <atomic>
#include <thread>

#include "browse/folder_tree.h"

namespace velmor {

// True when an item related to the clicked one is checked: the children of its parent, then
// the parent and the siblings after it, the grandparent and the siblings after it, and so on
// up to (not including) the root's level. Always false for the root itself.
bool RelatedItemsChecked(const FolderTree& tree, TreeItem clicked);

// Carries the clicked item's check state (already toggled by the control) to its relatives:
// a check goes to every ancestor and descendant; an uncheck goes to every descendant, and to
// the ancestors only when no related item is still checked.
void PropagateCheck(FolderTree& tree, TreeItem clicked);

// The check-box clicks of the folder tree: the first click starts a propagation worker, which
// waits for the control to toggle the item; clicks while one is pending check their item.
class CheckPropagation {
public:
    explicit CheckPropagation(FolderTree& tree) : tree_(tree) {}
    ~CheckPropagation() { Wait(); }
    CheckPropagation(const CheckPropagation&) = delete;
    CheckPropagation& operator=(const CheckPropagation&) = delete;

    // A left-button press on an item's check box, before the control toggles it.
    void OnCheckBoxPressed(TreeItem item);
    // Waits for the pending worker, if any, to end.
    void Wait();

private:
    FolderTree& tree_;
    std::atomic<TreeItem> clicked_{kNoTreeItem};
    std::atomic<bool> pending_{false};
    std::thread worker_;
};

}  // namespace velmor
