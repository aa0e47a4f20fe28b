#include "mailbox_list_view.h"

#include <QScrollBar>

namespace velmor::ui {

void MailboxListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    QScrollBar* sideways = horizontalScrollBar();
    const int kept = sideways->value();
    QTreeWidget::scrollTo(index, hint);
    sideways->setValue(kept);
}

void MailboxListView::ClearRows() {
    clear();
    horizontalScrollBar()->setValue(0);
}

}  // namespace velmor::ui
