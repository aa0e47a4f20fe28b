#include "right_view.h"

#include <QHeaderView>

#include "browse/folder_kind.h"
#include "browse/item_columns.h"

namespace velmor::ui {

CRightView::CRightView(QWidget* parent)
    : QWidget(parent),
      caption_(new CaptionStrip(this)),
      model_(new ItemListModel(this)),
      view_(new QTreeView(this)) {
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setAllColumnsShowFocus(true);
    view_->setIconSize(QSize(16, 16));
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionsMovable(false);
    view_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(model_, &ItemListModel::columnsReplaced, this, &CRightView::ApplyColumnWidths);
    // Step 3 always opens on a list with the mail columns.
    SetupItemColumns(*model_, kMailFolder);
}

void CRightView::ApplyColumnWidths(const std::vector<int>& widths) {
    for (size_t i = 0; i < widths.size(); ++i) {
        view_->header()->resizeSection(static_cast<int>(i), widths[i]);
    }
}

void CRightView::resizeEvent(QResizeEvent*) {
    PlaceBelowCaption(caption_, view_, width(), height());
}

}  // namespace velmor::ui
