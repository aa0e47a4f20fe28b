#pragma once

#include <functional>
#include <string>
#include <vector>

#include "browse/folder_tree.h"
#include "discovery/processing_context.h"
#include "search/index_shards.h"

namespace velmor {

inline constexpr char16_t kIndexingStatus[] = u"Indexing items...";

// The names of the attachments of the mail with the item id, as another source than the
// store knows them (the mail's original in the streaming file); none when unknown.
using AttachmentNamesOf = std::function<std::vector<std::u16string>(const std::u16string&)>;

// Adds every item of every folder of the tree to the index: each folder is listed as a click
// lists it, and each listed item's fields and body go into one document. The item progress
// bar counts the folders. A mail's attachment names come from attachmentNames, when given.
// False when a stop ended the build; the index is then partial. Call index.Finish() after.
bool BuildSearchIndex(ProcessingContext& context, const FolderTree& tree, IndexShards& index,
                      const AttachmentNamesOf& attachmentNames = {});

}  // namespace velmor
