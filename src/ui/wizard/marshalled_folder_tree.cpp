#include "wizard/marshalled_folder_tree.h"

namespace velmor::ui {

TreeItem MarshalledFolderTree::InsertItem(const std::u16string& text, int image, int selectedImage,
                                          TreeItem parent) {
    return bridge_.Get<TreeItem>(
        [&] { return target_.InsertItem(text, image, selectedImage, parent); });
}

std::vector<TreeItem> MarshalledFolderTree::Children(TreeItem parent) const {
    return bridge_.Get<std::vector<TreeItem>>([&] { return target_.Children(parent); });
}

TreeItem MarshalledFolderTree::Parent(TreeItem item) const {
    return bridge_.Get<TreeItem>([&] { return target_.Parent(item); });
}

std::u16string MarshalledFolderTree::Text(TreeItem item) const {
    return bridge_.Get<std::u16string>([&] { return target_.Text(item); });
}

int MarshalledFolderTree::CheckState(TreeItem item) const {
    return bridge_.Get<int>([&] { return target_.CheckState(item); });
}

void MarshalledFolderTree::SetCheckState(TreeItem item, int state) {
    bridge_.Call([&] { target_.SetCheckState(item, state); });
}

void MarshalledFolderTree::Expand(TreeItem item) {
    bridge_.Call([&] { target_.Expand(item); });
}

void MarshalledFolderTree::DeleteAllItems() {
    bridge_.Call([&] { target_.DeleteAllItems(); });
}

}  // namespace velmor::ui
