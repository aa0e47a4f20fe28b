#pragma once

#include <string>

#include "browse/folder_tree.h"

namespace velmor {

inline constexpr char16_t kMailboxRootClass[] = u"ExchangeUser";

// Inserts a folder as the last child of parent (top level when parent is none) with the name
// as its text and the images of its class or name.
TreeItem InsertFolderItem(FolderTree& tree, const std::u16string& name, TreeItem parent,
                          const std::u16string& containerClass);

}  // namespace velmor
