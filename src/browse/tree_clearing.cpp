#include "browse/tree_clearing.h"

namespace velmor {

void ClearFolderTree(FolderTree& tree, RecoveredStore& store, ProgressSink& sink) {
    tree.DeleteAllItems();
    store.folderViews.Clear();
    sink.EnableButton(WizardButton::Next, true);
}

}  // namespace velmor
