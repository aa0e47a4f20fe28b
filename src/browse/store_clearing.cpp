#include "browse/store_clearing.h"

namespace velmor {

void ClearStore(ProcessingContext& context) {
    context.sink.DeleteAllMailboxRows();
    context.store.ResetStore();
    context.store.folderViews.Clear();
    context.file.CloseDatabase();
    context.sink.EnableButton(WizardButton::Next, true);
}

}  // namespace velmor
