#include "discovery/recovered_store.h"

namespace velmor {

void RecoveredStore::ResetStore() {
    std::vector<CatalogEntry>().swap(catalog);
    mailboxes.Clear();
    std::vector<FolderEntry>().swap(folders);
    messageIndex.Clear();
    messageCandidates.Clear();
    pageGroups.Clear();
    longValues.Clear();
    schema = SchemaIds{};
    codePage = kWindowsWesternCodePage;
}

}  // namespace velmor
