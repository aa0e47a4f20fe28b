#pragma once

#include <QWidget>

namespace velmor::ui {

// The empty caption bar at the top of each browse pane, in the desktop's button colours.
class CaptionStrip : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent* event) override;
};

// Puts the strip across the top of a pane of the given size and the content below it.
void PlaceBelowCaption(CaptionStrip* caption, QWidget* content, int width, int height);

}  // namespace velmor::ui
