#pragma once

#include <atomic>
#include <functional>

#include "browse/folder_tree.h"

namespace velmor {

// True when a child of the item, or any item below it, is checked.
bool AnyDescendantChecked(const FolderTree& tree, TreeItem item);

// Carries the clicked item's check state (already toggled by the control) to its relatives:
// a check goes to every ancestor and descendant; an uncheck goes to every descendant, and to
// each ancestor that has no checked item left below it, from the parent up to the first
// ancestor that still has one.
void PropagateCheck(FolderTree& tree, TreeItem clicked);

// Starts a worker thread that runs the body; the front end keeps and ends its threads.
using StartWorker = std::function<void(std::function<void()> body)>;

// The check-box presses of the folder tree. Each press records its item; the first starts a
// propagation worker, which waits for the control to toggle the box and then carries the
// state of the item pressed last; a press while one is pending checks its item.
class CheckPropagation {
public:
    // pressTree is the control as the presses reach it, workerTree the same control as the
    // worker reaches it; they must outlive every worker started.
    CheckPropagation(FolderTree& pressTree, FolderTree& workerTree, StartWorker start)
        : pressTree_(pressTree), workerTree_(workerTree), start_(std::move(start)) {}
    CheckPropagation(const CheckPropagation&) = delete;
    CheckPropagation& operator=(const CheckPropagation&) = delete;

    // A left-button press on an item's check box, before the control toggles it.
    void OnCheckBoxPressed(TreeItem item);

private:
    void Propagate();

    FolderTree& pressTree_;
    FolderTree& workerTree_;
    StartWorker start_;
    std::atomic<TreeItem> clicked_{kNoTreeItem};
    std::atomic<bool> pending_{false};
};

}  // namespace velmor
