#pragma once

#include <QLineEdit>
#include <QTreeView>
#include <QWidget>
#include <vector>

#include "caption_strip.h"
#include "item_list_model.h"

namespace velmor::ui {

// The note on a listing that a stop ended.
QString StoppedListingNote(int rows);

// The right browse pane: the search box, then a caption strip above the item list.
class CRightView : public QWidget {
    Q_OBJECT

public:
    explicit CRightView(QWidget* parent = nullptr);

    ItemListModel* itemList() const { return model_; }
    QTreeView* itemView() const { return view_; }
    CaptionStrip* caption() const { return caption_; }
    QLineEdit* searchBox() const { return search_; }

signals:
    // Enter in the search box with text in it.
    void searchRequested(const QString& query);
    // Escape in the search box or the item list, or the box's text cleared.
    void searchCleared();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyColumnWidths(const std::vector<int>& widths);
    void SortBy(int column);
    void FitNumberColumn();
    void FillLastColumn();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Padding of the number column's cells beside the digits and the icon.
    static constexpr int kNumberPadding = 24;
    // The row count at which the number column needs another digit.
    int nextFit_ = 0;
    // The last column's own width, which filling the room never goes below.
    int lastColumnWidth_ = 0;
    QLineEdit* search_;
    CaptionStrip* caption_;
    ItemListModel* model_;
    QTreeView* view_;
};

}  // namespace velmor::ui
