#pragma once

#include "browse/folder_tree.h"
#include "discovery/progress_sink.h"
#include "discovery/recovered_store.h"

namespace velmor {

// The tree-clearing worker (Back from the browsing step): deletes every item of the folder
// tree, the root included, frees the folder view list and enables Next again.
void ClearFolderTree(FolderTree& tree, RecoveredStore& store, ProgressSink& sink);

}  // namespace velmor
