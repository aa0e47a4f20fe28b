#pragma once

#include "browse/browse_job_state.h"
#include "browse/folder_tree.h"
#include "browse/item_list.h"
#include "discovery/processing_context.h"

namespace velmor {

// Sets the selection of the next browse job from a tree item: its tree path and the kind
// that ClassifyFolder gives it (unclassified when the item has no folder view node).
void SelectFolderForBrowsing(const FolderTree& tree, const FolderViewList& folderViews,
                             TreeItem item, BrowseJobState& state);

// Rebuilds the list's columns for the selection's kind, scans the selected folder with the
// scanner of its container class, lists the items found and frees them. Leaves the stop flag
// as it is, so that the caller learns whether the listing ended early.
void ListFolder(ProcessingContext& context, ItemList& list, const BrowseSelection& selection);

// The browse worker's thread body: asks a running job to stop, waits for the browse job
// event, then scans the selected folder with the scanner of its container class, lists the
// items found and frees them. Stops at the next test of the stop flag when asked.
void BrowseWorker(ProcessingContext& context, ItemList& list, BrowseJobState& state);

}  // namespace velmor
