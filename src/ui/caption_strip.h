#pragma once

#include <QWidget>

namespace velmor::ui {

// The empty caption bar at the top of each browse pane, in the desktop's button colours.
class CaptionStrip : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // A short note on the pane's content; empty by default.
    void SetText(const QString& text);
    const QString& text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
};

// Puts the strip across the top of a pane of the given size and the content below it.
void PlaceBelowCaption(CaptionStrip* caption, QWidget* content, int width, int height);

}  // namespace velmor::ui
