#include "pane_stack.h"

namespace velmor::ui {

namespace {

constexpr int kLeftPaneWidth = 250;
constexpr int kDividerWidth = 4;

}  // namespace

PaneStack::PaneStack(QWidget* parent)
    : QWidget(parent), splitter_(new QSplitter(Qt::Horizontal, this)) {
    // An outline follows the mouse; the panes change size when the button is released.
    splitter_->setOpaqueResize(false);
    splitter_->setChildrenCollapsible(true);
    splitter_->setHandleWidth(kDividerWidth);
}

void PaneStack::SetRows(QWidget* banner, QWidget* leftPane, QWidget* rightPane, QWidget* filePage,
                        QWidget* mailboxPage, QWidget* buttonBar) {
    splitter_->addWidget(leftPane);
    splitter_->addWidget(rightPane);
    // The left pane keeps its width when the window grows.
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    splitter_->setSizes({kLeftPaneWidth, kLeftPaneWidth});
    rows_ = {banner, splitter_, filePage, mailboxPage, buttonBar};
    for (QWidget* row : rows_) {
        row->setParent(this);
    }
    LayOut();
}

void PaneStack::SetRowHeights(const RowHeights& heights) {
    heights_ = heights;
    LayOut();
}

QRect PaneStack::RowGeometry(PaneRow row) const {
    return rows_[row] ? rows_[row]->geometry() : QRect();
}

void PaneStack::resizeEvent(QResizeEvent*) {
    LayOut();
    emit resized(height());
}

// A row of height 0 is hidden, so that nothing in it takes the focus.
void PaneStack::LayOut() {
    const RowSpans spans = LayOutPaneRows(heights_, height());
    for (int row = 0; row < kPaneRowCount; ++row) {
        QWidget* view = rows_[row];
        if (view == nullptr) {
            continue;
        }
        view->setGeometry(0, spans[row].top, width(), spans[row].height);
        view->setVisible(spans[row].height > 0);
    }
}

}  // namespace velmor::ui
