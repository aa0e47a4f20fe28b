#pragma once

#include <QTreeWidget>

namespace velmor::ui {

// The mailbox list of step 2. Its name column is wider than the list, so choosing a row (by
// mouse or keys) would scroll the list sideways to show the chosen cell and hide the numbers
// and icons: choosing a row leaves the sideways scroll where the user put it.
class MailboxListView : public QTreeWidget {
    Q_OBJECT

public:
    using QTreeWidget::QTreeWidget;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // Removes every row and scrolls back to the start.
    void ClearRows();
};

}  // namespace velmor::ui
