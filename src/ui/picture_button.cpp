#include "picture_button.h"

#include <QPainter>

#include "pictures.h"

namespace velmor::ui {

PictureButton::PictureButton(const QString& name, const QString& toolTip, QWidget* parent)
    : QAbstractButton(parent),
      normal_(Picture(name + "-normal")),
      focused_(Picture(name + "-focused")),
      disabled_(Picture(name + "-disabled")) {
    setToolTip(toolTip);
    setFixedSize(normal_.size());
    // Reached with Tab, so a click leaves the focus where it was.
    setFocusPolicy(Qt::TabFocus);
    setCursor(Qt::PointingHandCursor);
}

const QPixmap& PictureButton::CurrentPicture() const {
    if (!isEnabled()) {
        return disabled_;
    }
    if (isDown()) {
        return normal_;
    }
    return hasFocus() ? focused_ : normal_;
}

void PictureButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(0, 0, CurrentPicture());
}

}  // namespace velmor::ui
