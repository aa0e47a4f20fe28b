#include "first_row_on_focus.h"

#include <QEvent>
#include <QKeyEvent>

namespace velmor::ui {

namespace {

bool HasRows(const QAbstractItemView* list) {
    return list->model() != nullptr && list->model()->rowCount() > 0;
}

void ChooseFirstRow(QAbstractItemView* list) {
    list->setCurrentIndex(list->model()->index(0, 0));
}

// Runs before the list's own handling: its focus handling makes the first row current without
// showing it chosen, and a Down from there skips it.
class FirstRowOnFocus : public QObject {
public:
    explicit FirstRowOnFocus(QAbstractItemView* list) : QObject(list), list_(list) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn && HasRows(list_) &&
            !list_->currentIndex().isValid()) {
            ChooseFirstRow(list_);
        }
        if (event->type() == QEvent::KeyPress && NothingChosen()) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->modifiers() == Qt::NoModifier &&
                (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
                ChooseFirstRow(list_);
                return true;
            }
        }
        return false;
    }

private:
    // No row selected and none shown current but possibly the first, which the list's focus
    // handling makes current unseen.
    bool NothingChosen() const {
        const QModelIndex current = list_->currentIndex();
        return HasRows(list_) && list_->selectionModel()->selectedRows().isEmpty() &&
               (!current.isValid() || current.row() == 0);
    }

    QAbstractItemView* list_;
};

}  // namespace

void MakeFirstRowCurrentOnFocus(QAbstractItemView* list) {
    list->installEventFilter(new FirstRowOnFocus(list));
}

}  // namespace velmor::ui
