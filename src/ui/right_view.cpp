#include "right_view.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <algorithm>

#include "browse/folder_kind.h"
#include "browse/item_columns.h"
#include "first_row_on_focus.h"

namespace velmor::ui {

QString StoppedListingNote(int rows) {
    return QString("Listing stopped after %1 %2").arg(rows).arg(rows == 1 ? "item" : "items");
}

CRightView::CRightView(QWidget* parent)
    : QWidget(parent),
      search_(new QLineEdit(this)),
      caption_(new CaptionStrip(this)),
      model_(new ItemListModel(this)),
      view_(new QTreeView(this)) {
    search_->setPlaceholderText("Search this mailbox (Ctrl+F)");
    search_->setClearButtonEnabled(true);
    search_->installEventFilter(this);
    view_->installEventFilter(this);
    connect(search_, &QLineEdit::returnPressed, this, [this] {
        if (!search_->text().trimmed().isEmpty()) {
            emit searchRequested(search_->text());
        }
    });
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text.isEmpty()) {
            emit searchCleared();
        }
    });
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setItemsExpandable(false);
    view_->setUniformRowHeights(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setAllColumnsShowFocus(true);
    view_->setIconSize(QSize(16, 16));
    MakeFirstRowCurrentOnFocus(view_);
    // The last column takes the room left (set with the columns and at each resize: a
    // stretched section would be laid out again at every row); the user may resize every
    // column, and a click on a heading sorts by it, a second click the other way round.
    QHeaderView* header = view_->header();
    header->setStretchLastSection(false);
    header->setSectionsMovable(false);
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setSectionsClickable(true);
    connect(header, &QHeaderView::sectionClicked, this, &CRightView::SortBy);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &CRightView::FitNumberColumn);
    connect(model_, &QAbstractItemModel::modelReset, this,
            [this] { view_->header()->setSortIndicatorShown(false); });
    connect(model_, &ItemListModel::columnsReplaced, this, &CRightView::ApplyColumnWidths);
    connect(model_, &ItemListModel::captionChanged, this, [this] {
        caption_->SetText(model_->stopped() ? StoppedListingNote(model_->rowCount())
                                            : model_->note());
    });
    // Step 3 always opens on a list with the mail columns.
    SetupItemColumns(*model_, kMailFolder);
}

void CRightView::SortBy(int column) {
    QHeaderView* header = view_->header();
    const bool again = model_->sortColumn() == column;
    const Qt::SortOrder order = again && model_->sortOrder() == Qt::AscendingOrder
                                    ? Qt::DescendingOrder
                                    : Qt::AscendingOrder;
    header->setSortIndicator(column, order);
    header->setSortIndicatorShown(true);
    model_->sort(column, order);
}

// The number column grows with the row count, one digit at a time, so that no number is cut.
void CRightView::FitNumberColumn() {
    constexpr int kNumberColumn = 0;
    const int rows = model_->rowCount();
    if (rows < nextFit_ || model_->columnCount() == 0) {
        return;
    }
    const QString widest(QString::number(rows).size(), QChar('9'));
    nextFit_ = widest.toInt() + 1;
    const int needed =
        view_->fontMetrics().horizontalAdvance(widest) + view_->iconSize().width() + kNumberPadding;
    if (view_->header()->sectionSize(kNumberColumn) < needed) {
        view_->header()->resizeSection(kNumberColumn, needed);
        FillLastColumn();
    }
}

void CRightView::ApplyColumnWidths(const std::vector<int>& widths) {
    nextFit_ = 0;
    for (size_t i = 0; i < widths.size(); ++i) {
        view_->header()->resizeSection(static_cast<int>(i), widths[i]);
    }
    lastColumnWidth_ = widths.empty() ? 0 : widths.back();
    FillLastColumn();
}

// The room is measured as if the vertical scroll bar were shown, so that the list never needs
// a sideways scroll bar once it fills up.
void CRightView::FillLastColumn() {
    QHeaderView* header = view_->header();
    const int last = header->count() - 1;
    if (last < 0) {
        return;
    }
    const int room = view_->width() - 2 * view_->frameWidth() -
                     view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) -
                     header->sectionPosition(last);
    header->resizeSection(last, std::max(lastColumnWidth_, room));
}

// Escape in the box or in the list empties the box, which returns the list to the folder.
bool CRightView::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == search_ || watched == view_) && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        if (search_->text().isEmpty()) {
            emit searchCleared();
        } else {
            search_->clear();
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CRightView::resizeEvent(QResizeEvent*) {
    const int boxHeight = search_->sizeHint().height();
    search_->setGeometry(0, 0, width(), boxHeight);
    PlaceBelowCaption(caption_, view_, width(), height() - boxHeight);
    caption_->move(0, boxHeight);
    view_->move(0, view_->y() + boxHeight);
    FillLastColumn();
}

}  // namespace velmor::ui
