#pragma once

#include <string>

#include "browse/folder_kind.h"
#include "browse/folder_view_list.h"

namespace velmor {

// Classifies the folder of a tree item: finds the first folder view node of the item and sets
// kind from its container class, else from its tree path. Returns the node's folder id text;
// without a node, empty text and kind unchanged.
std::u16string ClassifyFolder(const FolderViewList& folderViews, TreeItem item, int& kind);

}  // namespace velmor
