#pragma once

#include <algorithm>
#include <cstddef>
#include <map>
#include <string>

#include "browse/browse_job_state.h"
#include "browse/browse_worker.h"
#include "browse/folder_tree_population.h"
#include "browse/plain_folder_tree.h"
#include "browse/plain_item_list.h"
#include "browse/tree_clearing.h"
#include "discovery/processing_driver.h"

namespace velmor::test {

// What a run over a whole database found.
struct BrowseOutcome {
    bool found = false;
    size_t mailboxes = 0;
    size_t folders = 0;
    size_t treeItems = 0;
    size_t rows = 0;
    std::map<std::u16string, size_t> rowsByFolderId;  // the longest listing of each folder
};

// Runs the seven processing parts, then for every mailbox populates its folder tree as Next
// does, browses every item of the tree as a click does and clears the tree as Back does.
inline BrowseOutcome ProcessAndBrowseAll(ProcessingContext& context) {
    BrowseOutcome outcome;
    outcome.found = RunProcessingParts(context);
    outcome.mailboxes = context.store.mailboxes.entries().size();
    outcome.folders = context.store.folders.size();
    if (!outcome.found) {
        return outcome;
    }
    for (size_t m = 0; m < outcome.mailboxes; ++m) {
        PlainFolderTree tree;
        PopulateFolderTree(tree, context.store, context.sink,
                           context.store.mailboxes.entries()[m].displayName);
        for (TreeItem item : tree.AllItems()) {
            BrowseJobState state;
            SelectFolderForBrowsing(tree, context.store.folderViews, item, state);
            PlainItemList list;
            BrowseWorker(context, list, state);
            outcome.rows += list.rows().size();
            if (const FolderViewNode* node = context.store.folderViews.FindByTreeItem(item)) {
                size_t& rows = outcome.rowsByFolderId[node->folderId];
                rows = std::max(rows, list.rows().size());
            }
            ++outcome.treeItems;
        }
        ClearFolderTree(tree, context.store, context.sink);
    }
    return outcome;
}

}  // namespace velmor::test
