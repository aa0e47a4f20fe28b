#include "folder_tree_ctrl.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "pictures.h"
#include "qt_text.h"

namespace velmor::ui {

// Lets the control see an item's parts as the delegate paints them.
class FolderTreeDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::initStyleOption;
    using QStyledItemDelegate::QStyledItemDelegate;
};

namespace {

constexpr int kColumn = 0;
constexpr int kLabelPadding = 4;

Qt::CheckState ToQt(int state) {
    return state == kChecked ? Qt::Checked : Qt::Unchecked;
}

bool IsLeftButton(const QMouseEvent* event) {
    return event->button() == Qt::LeftButton;
}

}  // namespace

CFolderTreeCtrl::CFolderTreeCtrl(QWidget* parent)
    : QTreeWidget(parent), delegate_(new FolderTreeDelegate(this)), images_(TreeImages()) {
    setItemDelegate(delegate_);
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setExpandsOnDoubleClick(true);
    setIconSize(QSize(16, 16));
    // The selection stays visible when the tree loses the focus.
    QPalette colours = palette();
    colours.setColor(QPalette::Inactive, QPalette::Highlight,
                     colours.color(QPalette::Active, QPalette::Highlight));
    colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     colours.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(colours);
}

QStyleOptionViewItem CFolderTreeCtrl::ItemOption(QTreeWidgetItem* item) const {
    const QModelIndex index = indexFromItem(item, kColumn);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    delegate_->initStyleOption(&option, index);
    return option;
}

QRect CFolderTreeCtrl::CheckBoxRect(QTreeWidgetItem* item) const {
    const QStyleOptionViewItem option = ItemOption(item);
    return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

QRect CFolderTreeCtrl::LabelRect(QTreeWidgetItem* item) const {
    const QStyleOptionViewItem option = ItemOption(item);
    QRect text = style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this);
    text.setWidth(option.fontMetrics.horizontalAdvance(option.text) + 2 * kLabelPadding);
    return text;
}

QRect CFolderTreeCtrl::ExpandArrowRect(QTreeWidgetItem* item) const {
    if (item->childCount() == 0) {
        return {};
    }
    const QRect row = visualItemRect(item);
    QStyleOption option;
    option.initFrom(this);
    option.rect = QRect(row.left() - indentation(), row.top(), indentation(), row.height());
    return style()->subElementRect(QStyle::SE_TreeViewDisclosureItem, &option, this);
}

CFolderTreeCtrl::HitPart CFolderTreeCtrl::HitTest(const QPoint& point,
                                                  QTreeWidgetItem** item) const {
    *item = itemAt(point);
    if (*item == nullptr) {
        return HitPart::Nowhere;
    }
    const QStyleOptionViewItem option = ItemOption(*item);
    if (point.x() < option.rect.left()) {
        return HitPart::Indent;
    }
    if (CheckBoxRect(*item).contains(point)) {
        return HitPart::CheckBox;
    }
    if (style()->subElementRect(QStyle::SE_ItemViewItemDecoration, &option, this).contains(point)) {
        return HitPart::Icon;
    }
    return LabelRect(*item).contains(point) ? HitPart::Label : HitPart::RightOfLabel;
}

// The selection the tree shows is always the folder listed. A press on a check box goes to the
// check propagation and then toggles the box at once, so that the propagation finds the new
// state. A left press on an icon or a label chooses the folder unless it is the selected one
// already. A press in front of the item only expands or collapses it, on its arrow; a press
// beside the label, or with another button, selects nothing.
void CFolderTreeCtrl::mousePressEvent(QMouseEvent* event) {
    handledPress_.reset();
    if (!IsLeftButton(event)) {
        return;
    }
    const QPoint point = event->position().toPoint();
    QTreeWidgetItem* item = nullptr;
    const HitPart part = HitTest(point, &item);
    if (part == HitPart::Indent) {
        if (ExpandArrowRect(item).contains(point)) {
            item->setExpanded(!item->isExpanded());
        }
        return;
    }
    if (part == HitPart::CheckBox) {
        ToggleCheckBox(item);
        return;
    }
    if ((part == HitPart::Icon || part == HitPart::Label) && item != currentItem() && events_) {
        events_->BrowseFolder(Handle(item));
    }
    if (part == HitPart::Nowhere || part == HitPart::RightOfLabel) {
        return;
    }
    handledPress_ = event->position();
    QTreeWidget::mousePressEvent(event);
}

// A release elsewhere than its press would select the item under it: the tree takes it where
// the press went down.
void CFolderTreeCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (!handledPress_) {
        return;
    }
    QMouseEvent atPress(event->type(), *handledPress_, mapToGlobal(*handledPress_), event->button(),
                        event->buttons(), event->modifiers(), event->pointingDevice());
    handledPress_.reset();
    QTreeWidget::mouseReleaseEvent(&atPress);
}

// Dragging with a button held would move the selection without listing: only moves without
// a button pass on.
void CFolderTreeCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() == Qt::NoButton) {
        QTreeWidget::mouseMoveEvent(event);
    }
}

void CFolderTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    if (!IsLeftButton(event)) {
        return;
    }
    QTreeWidgetItem* item = nullptr;
    const HitPart part = HitTest(event->position().toPoint(), &item);
    if (part == HitPart::CheckBox || part == HitPart::Indent) {
        // The second click of a double click on a check box or an arrow is a click of its own.
        mousePressEvent(event);
        return;
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

// Space toggles the current folder's box as a click on it does, propagation included.
void CFolderTreeCtrl::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* item = currentItem();
    if (event->key() != Qt::Key_Space || item == nullptr) {
        QTreeWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat()) {
        ToggleCheckBox(item);
    }
}

void CFolderTreeCtrl::ToggleCheckBox(QTreeWidgetItem* item) {
    if (events_) {
        events_->CheckBoxPressed(Handle(item));
    }
    const bool checked = item->checkState(kColumn) == Qt::Checked;
    item->setCheckState(kColumn, checked ? Qt::Unchecked : Qt::Checked);
}

// Every released key but Enter and Print Screen lists the selected folder again, whether or
// not the selection moved; those two keys are not passed on at all.
void CFolderTreeCtrl::keyReleaseEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Print) {
        return;
    }
    if (!event->isAutoRepeat() && events_) {
        events_->BrowseFolder(Handle(currentItem()));
    }
    QTreeWidget::keyReleaseEvent(event);
}

// Dotted lines join each item to its parent and to its later siblings, the root items
// included; the expand buttons are drawn over them.
void CFolderTreeCtrl::drawBranches(QPainter* painter, const QRect& rect,
                                   const QModelIndex& index) const {
    const auto hasNextSibling = [](const QModelIndex& at) {
        return at.sibling(at.row() + 1, at.column()).isValid();
    };
    painter->save();
    painter->setPen(QPen(palette().color(QPalette::Mid), 1, Qt::DotLine));
    const int step = indentation();
    const int middleY = rect.center().y();
    int x = rect.right() + 1 - step / 2;
    const bool firstRoot = !index.parent().isValid() && index.row() == 0;
    painter->drawLine(x, middleY, rect.right(), middleY);
    painter->drawLine(x, firstRoot ? middleY : rect.top(), x,
                      hasNextSibling(index) ? rect.bottom() : middleY);
    for (QModelIndex ancestor = index.parent(); ancestor.isValid(); ancestor = ancestor.parent()) {
        x -= step;
        if (hasNextSibling(ancestor)) {
            painter->drawLine(x, rect.top(), x, rect.bottom());
        }
    }
    painter->restore();
    QTreeWidget::drawBranches(painter, rect, index);
}

const QIcon& CFolderTreeCtrl::ImagePair(int image, int selectedImage) {
    const auto key = std::make_pair(image, selectedImage);
    auto found = imagePairs_.find(key);
    if (found != imagePairs_.end()) {
        return found->second;
    }
    const auto imageAt = [this](int index) {
        return index >= 0 && index < static_cast<int>(images_.size()) ? images_[index] : QIcon();
    };
    QIcon pair;
    const QSize size = iconSize();
    pair.addPixmap(imageAt(image).pixmap(size), QIcon::Normal);
    pair.addPixmap(imageAt(selectedImage).pixmap(size), QIcon::Selected);
    return imagePairs_.emplace(key, pair).first->second;
}

TreeItem CFolderTreeCtrl::InsertItem(const std::u16string& text, int image, int selectedImage,
                                     TreeItem parent) {
    auto* item = new QTreeWidgetItem;
    item->setText(kColumn, ToQString(text));
    item->setIcon(kColumn, ImagePair(image, selectedImage));
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(kColumn, Qt::Unchecked);
    if (parent == kNoTreeItem) {
        addTopLevelItem(item);
    } else {
        ItemOf(parent)->addChild(item);
    }
    return Handle(item);
}

std::vector<TreeItem> CFolderTreeCtrl::Children(TreeItem parent) const {
    std::vector<TreeItem> children;
    if (parent == kNoTreeItem) {
        for (int i = 0; i < topLevelItemCount(); ++i) {
            children.push_back(Handle(topLevelItem(i)));
        }
        return children;
    }
    const QTreeWidgetItem* item = ItemOf(parent);
    for (int i = 0; i < item->childCount(); ++i) {
        children.push_back(Handle(item->child(i)));
    }
    return children;
}

TreeItem CFolderTreeCtrl::Parent(TreeItem item) const {
    return item == kNoTreeItem ? kNoTreeItem : Handle(ItemOf(item)->parent());
}

std::u16string CFolderTreeCtrl::Text(TreeItem item) const {
    return item == kNoTreeItem ? std::u16string() : ToU16(ItemOf(item)->text(kColumn));
}

int CFolderTreeCtrl::CheckState(TreeItem item) const {
    if (item == kNoTreeItem) {
        return kUnchecked;
    }
    return ItemOf(item)->checkState(kColumn) == Qt::Checked ? kChecked : kUnchecked;
}

void CFolderTreeCtrl::SetCheckState(TreeItem item, int state) {
    if (item != kNoTreeItem) {
        ItemOf(item)->setCheckState(kColumn, ToQt(state));
    }
}

void CFolderTreeCtrl::Expand(TreeItem item) {
    if (item != kNoTreeItem) {
        expandItem(ItemOf(item));
    }
}

void CFolderTreeCtrl::DeleteAllItems() {
    clear();
}

}  // namespace velmor::ui
