#pragma once

#include <QWidget>

#include "caption_strip.h"
#include "folder_tree_ctrl.h"

namespace velmor::ui {

// The left browse pane: a caption strip above the folder tree.
class CLeftView : public QWidget {
    Q_OBJECT

public:
    explicit CLeftView(QWidget* parent = nullptr);

    CFolderTreeCtrl* folderTree() const { return tree_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    CaptionStrip* caption_;
    CFolderTreeCtrl* tree_;
};

}  // namespace velmor::ui
