#pragma once

#include <QWidget>

namespace velmor::ui {

// A progress bar that paints its own frame, a white-to-green gradient up to its percent and
// the percent as text. Only the upper bound enters the percent.
class PercentProgressBar : public QWidget {
    Q_OBJECT

public:
    explicit PercentProgressBar(QWidget* parent = nullptr) : QWidget(parent) {}

    void SetRange(int low, int high);
    void SetPosition(int position);

    int percent() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
};

}  // namespace velmor::ui
