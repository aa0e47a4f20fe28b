#include "top_view.h"

#include <QPainter>

#include "pictures.h"

namespace velmor::ui {

namespace {

const QPoint kOpenButtonAt(2, 2);
const QPoint kHelpButtonAt(70, 2);
const QPoint kAboutButtonAt(130, 2);

}  // namespace

CTopView::CTopView(QWidget* parent)
    : QWidget(parent),
      strip_(Picture("banner-strip")),
      logo_(Picture("banner-logo")),
      open_(new PictureButton("open-button", "Open", this)),
      help_(new PictureButton("help-button", "Help", this)),
      about_(new PictureButton("about-button", "About", this)) {
    open_->move(kOpenButtonAt);
    help_->move(kHelpButtonAt);
    about_->move(kAboutButtonAt);
    connect(open_, &PictureButton::clicked, this, &CTopView::openClicked);
    connect(help_, &PictureButton::clicked, this, &CTopView::helpClicked);
    connect(about_, &PictureButton::clicked, this, &CTopView::aboutClicked);
}

// The 71-pixel pictures lose their last row in the 70-pixel banner.
void CTopView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int stripWidth = width() - logo_.width();
    if (stripWidth > 0) {
        painter.drawPixmap(QRect(0, 0, stripWidth, strip_.height()), strip_);
    }
    painter.drawPixmap(stripWidth, 0, logo_);
}

}  // namespace velmor::ui
