#pragma once

#include <QTreeView>
#include <QWidget>
#include <vector>

#include "caption_strip.h"
#include "item_list_model.h"

namespace velmor::ui {

// The right browse pane: a caption strip above the item list.
class CRightView : public QWidget {
    Q_OBJECT

public:
    explicit CRightView(QWidget* parent = nullptr);

    ItemListModel* itemList() const { return model_; }
    QTreeView* itemView() const { return view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ApplyColumnWidths(const std::vector<int>& widths);

    CaptionStrip* caption_;
    ItemListModel* model_;
    QTreeView* view_;
};

}  // namespace velmor::ui
