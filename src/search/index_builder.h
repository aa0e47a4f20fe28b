#pragma once

#include <string>

#include "browse/folder_tree.h"
#include "discovery/processing_context.h"
#include "search/index_shards.h"
#include "streaming/recovered_messages.h"

namespace velmor {

inline constexpr char16_t kIndexingStatus[] = u"Indexing items...";

// Adds every item of every folder of the tree to the index: each folder is listed as a click
// lists it, and each listed item's fields and body go into one document. The item progress
// bar counts the folders. A mail that a message of recovered matched takes that original's
// body and attachment names, when recovered is given. False when a stop ended the build; the
// index is then partial. Call index.Finish() after.
bool BuildSearchIndex(ProcessingContext& context, const FolderTree& tree, IndexShards& index,
                      RecoveredMessages* recovered = nullptr);

}  // namespace velmor
