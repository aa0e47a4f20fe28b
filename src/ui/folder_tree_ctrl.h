#pragma once

#include <QIcon>
#include <QTreeWidget>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "browse/folder_tree.h"
#include "folder_tree_events.h"

namespace velmor::ui {

class FolderTreeDelegate;

// The folder tree of step 3: items with check boxes and folder images. The browsing engine
// fills it through FolderTree; clicks on a label or an icon and released keys choose a folder,
// clicks on a check box start the check propagation.
class CFolderTreeCtrl : public QTreeWidget, public FolderTree {
    Q_OBJECT

public:
    // Which part of an item a point lies on.
    enum class HitPart { Nowhere, Indent, CheckBox, Icon, Label, RightOfLabel };

    explicit CFolderTreeCtrl(QWidget* parent = nullptr);

    void SetEvents(FolderTreeEvents* events) { events_ = events; }

    HitPart HitTest(const QPoint& point, QTreeWidgetItem** item) const;
    QRect CheckBoxRect(QTreeWidgetItem* item) const;
    QRect LabelRect(QTreeWidgetItem* item) const;
    // The expand arrow in front of an item with children; empty for an item without.
    QRect ExpandArrowRect(QTreeWidgetItem* item) const;

    static TreeItem Handle(const QTreeWidgetItem* item) { return reinterpret_cast<TreeItem>(item); }
    static QTreeWidgetItem* ItemOf(TreeItem handle) {
        return reinterpret_cast<QTreeWidgetItem*>(handle);
    }

    TreeItem InsertItem(const std::u16string& text, int image, int selectedImage,
                        TreeItem parent) override;
    std::vector<TreeItem> Children(TreeItem parent) const override;
    TreeItem Parent(TreeItem item) const override;
    std::u16string Text(TreeItem item) const override;
    int CheckState(TreeItem item) const override;
    void SetCheckState(TreeItem item, int state) override;
    void Expand(TreeItem item) override;
    void DeleteAllItems() override;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void drawBranches(QPainter* painter, const QRect& rect,
                      const QModelIndex& index) const override;

private:
    QStyleOptionViewItem ItemOption(QTreeWidgetItem* item) const;
    // A press on the item's box: the propagation learns of it, then the box toggles.
    void ToggleCheckBox(QTreeWidgetItem* item);
    const QIcon& ImagePair(int image, int selectedImage);

    FolderTreeEvents* events_ = nullptr;
    FolderTreeDelegate* delegate_;
    std::vector<QIcon> images_;
    std::map<std::pair<int, int>, QIcon> imagePairs_;
    // Where the last press that the tree itself handled went down; its release is taken there.
    std::optional<QPointF> handledPress_;
};

}  // namespace velmor::ui
