#pragma once

#include "browse/folder_tree.h"

namespace velmor::ui {

// What the folder tree control passes on from the user.
class FolderTreeEvents {
public:
    virtual ~FolderTreeEvents() = default;

    // A folder was chosen by mouse or keyboard: list its items.
    virtual void BrowseFolder(TreeItem item) = 0;
    // The left button went down on an item's check box, before the box toggles.
    virtual void CheckBoxPressed(TreeItem item) = 0;
};

}  // namespace velmor::ui
