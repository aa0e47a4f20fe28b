#pragma once

#include "browse/folder_tree.h"
#include "wizard/ui_call_bridge.h"

namespace velmor::ui {

// The folder tree as workers hold it: each operation runs on the user-interface thread, on
// the control, and returns once it has been applied.
class MarshalledFolderTree : public FolderTree {
public:
    MarshalledFolderTree(UiCallBridge& bridge, FolderTree& target)
        : bridge_(bridge), target_(target) {}

    TreeItem InsertItem(const std::u16string& text, int image, int selectedImage,
                        TreeItem parent) override;
    std::vector<TreeItem> Children(TreeItem parent) const override;
    TreeItem Parent(TreeItem item) const override;
    std::u16string Text(TreeItem item) const override;
    int CheckState(TreeItem item) const override;
    void SetCheckState(TreeItem item, int state) override;
    void Expand(TreeItem item) override;
    void DeleteAllItems() override;

private:
    UiCallBridge& bridge_;
    FolderTree& target_;
};

}  // namespace velmor::ui
