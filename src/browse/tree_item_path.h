#pragma once

#include <string>

#include "browse/folder_tree.h"

namespace velmor {

inline constexpr char16_t kPathSeparator = u'\\';

// The texts of an item and its ancestors, root first, each followed by a backslash: an item
// Inbox below the root Mailbox - Ann gives "Mailbox - Ann\Inbox\".
std::u16string TreeItemPath(const FolderTree& tree, TreeItem item);

}  // namespace velmor
