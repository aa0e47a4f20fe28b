#include "caption_strip.h"

#include <QPainter>

namespace velmor::ui {

namespace {

constexpr int kCaptionHeight = 20;

}  // namespace

void PlaceBelowCaption(CaptionStrip* caption, QWidget* content, int width, int height) {
    caption->setGeometry(0, 0, width, kCaptionHeight);
    content->setGeometry(0, kCaptionHeight, width, height - kCaptionHeight);
}

void CaptionStrip::SetText(const QString& text) {
    text_ = text;
    update();
}

void CaptionStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPalette& colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Button));
    painter.setPen(colours.color(QPalette::Base));
    painter.drawLine(0, 0, width() - 1, 0);
    painter.setPen(colours.color(QPalette::Dark));
    painter.drawLine(0, height() - 1, width() - 1, height() - 1);
    if (!text_.isEmpty()) {
        constexpr int kTextIndent = 4;
        painter.setPen(colours.color(QPalette::ButtonText));
        painter.drawText(rect().adjusted(kTextIndent, 0, -kTextIndent, 0),
                         Qt::AlignLeft | Qt::AlignVCenter, text_);
    }
}

}  // namespace velmor::ui
