#pragma once

#include <string>

#include "browse/folder_tree.h"

namespace velmor {

// Tree image pairs (image, selected image) of the folder tree.
struct FolderImagePair {
    int image;
    int selectedImage;
};

inline constexpr char16_t kMailboxRootClass[] = u"ExchangeUser";

// The image pair of a folder: by its container class first, then by its name.
FolderImagePair FolderImages(const std::u16string& name, const std::u16string& containerClass);

// Inserts a folder as the last child of parent (top level when parent is none) with the name
// as its text and the images of its class or name.
TreeItem InsertFolderItem(FolderTree& tree, const std::u16string& name, TreeItem parent,
                          const std::u16string& containerClass);

}  // namespace velmor
