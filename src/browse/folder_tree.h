#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor {

// A handle of a folder tree item; the front end decides what it points at.
using TreeItem = std::uintptr_t;
inline constexpr TreeItem kNoTreeItem = 0;

inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;

// The folder tree control as the browsing engine drives it. Workers call it from their own
// threads; a front end whose control lives on another thread applies each call there and
// returns once it has taken effect.
class FolderTree {
public:
    virtual ~FolderTree() = default;

    // Inserts an item as the last child of parent, or as a top-level item when parent is none.
    virtual TreeItem InsertItem(const std::u16string& text, int image, int selectedImage,
                                TreeItem parent) = 0;
    // The children of an item in order; with none, the top-level items.
    virtual std::vector<TreeItem> Children(TreeItem parent) const = 0;
    // The parent of an item; none for a top-level item.
    virtual TreeItem Parent(TreeItem item) const = 0;
    virtual std::u16string Text(TreeItem item) const = 0;
    virtual int CheckState(TreeItem item) const = 0;
    virtual void SetCheckState(TreeItem item, int state) = 0;
    virtual void Expand(TreeItem item) = 0;
    // Deletes every item, the root included.
    virtual void DeleteAllItems() = 0;
};

}  // namespace velmor
