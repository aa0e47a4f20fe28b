#pragma once

#include <QSplitter>
#include <QWidget>
#include <array>

#include "wizard/pane_rows.h"

namespace velmor::ui {

// The main window's five rows in one column, separated by fixed one-pixel bars. Row 1 is
// split into the two browse panes by a divider that the user can drag.
class PaneStack : public QWidget {
    Q_OBJECT

public:
    explicit PaneStack(QWidget* parent = nullptr);

    // Puts the rows' views in; row 1 gets the two browse panes.
    void SetRows(QWidget* banner, QWidget* leftPane, QWidget* rightPane, QWidget* filePage,
                 QWidget* mailboxPage, QWidget* buttonBar);

    // Asks for row heights and lays the rows out; the button bar takes the rest.
    void SetRowHeights(const RowHeights& heights);
    const RowHeights& rowHeights() const { return heights_; }
    QRect RowGeometry(PaneRow row) const;
    QSplitter* browseSplitter() const { return splitter_; }

signals:
    // The client height changed; the frame decides the new heights.
    void resized(int clientHeight);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayOut();

    RowHeights heights_{};
    std::array<QWidget*, kPaneRowCount> rows_{};
    QSplitter* splitter_;
};

}  // namespace velmor::ui
