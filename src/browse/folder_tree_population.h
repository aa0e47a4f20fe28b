#pragma once

#include <string>

#include "browse/folder_tree.h"
#include "discovery/progress_sink.h"
#include "discovery/recovered_store.h"

namespace velmor {

inline constexpr char16_t kTreePopulationStatus[] = u"Please wait.Tree is being populated...";

// Builds the folder tree of the mailbox whose row label (the step-2 list's name column) is
// given: a root item for the mailbox and below it the mailbox's folders by their parent links,
// with one folder view node per folder item, appended to the store's folder view list.
void PopulateFolderTree(FolderTree& tree, RecoveredStore& store, ProgressSink& sink,
                        const std::u16string& mailboxLabel);

}  // namespace velmor
