#pragma once

#include <mutex>
#include <vector>

#include "browse/folder_tree.h"

namespace velmor {

// The engine's own folder tree, kept in memory, for the command line and the tests. Its calls
// are serialised as a control's calls on its own thread would be, so a worker may fill it while
// another thread reads it.
class PlainFolderTree : public FolderTree {
public:
    TreeItem InsertItem(const std::u16string& text, int image, int selectedImage,
                        TreeItem parent) override;
    std::vector<TreeItem> Children(TreeItem parent) const override;
    TreeItem Parent(TreeItem item) const override;
    std::u16string Text(TreeItem item) const override;
    int CheckState(TreeItem item) const override;
    void SetCheckState(TreeItem item, int state) override;
    void Expand(TreeItem item) override;
    void DeleteAllItems() override;

    int Image(TreeItem item) const;
    int SelectedImage(TreeItem item) const;
    bool IsExpanded(TreeItem item) const;
    // Every item, depth first with siblings in order.
    std::vector<TreeItem> AllItems() const;

private:
    struct Node {
        std::u16string text;
        int image = 0;
        int selectedImage = 0;
        TreeItem parent = kNoTreeItem;
        std::vector<TreeItem> children;
        int checkState = kUnchecked;
        bool expanded = false;
    };

    Node* Find(TreeItem item);
    const Node* Find(TreeItem item) const;

    mutable std::mutex mutex_;
    std::vector<Node> nodes_;  // item handle h is nodes_[h - 1]
    std::vector<TreeItem> topLevel_;
};

}  // namespace velmor
