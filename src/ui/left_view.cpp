#include "left_view.h"

namespace velmor::ui {

CLeftView::CLeftView(QWidget* parent)
    : QWidget(parent), caption_(new CaptionStrip(this)), tree_(new CFolderTreeCtrl(this)) {}

void CLeftView::resizeEvent(QResizeEvent*) {
    PlaceBelowCaption(caption_, tree_, width(), height());
}

}  // namespace velmor::ui
