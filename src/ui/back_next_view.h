#pragma once

#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QWidget>

#include "percent_progress_bar.h"
#include "wizard/button_bar_state.h"

namespace velmor::ui {

// The button bar along the bottom of every step: Next, Back and Stop, and the scan and item
// progress displays. It shows what its ButtonBarState says and forwards the clicks.
class CBackNextView : public QWidget {
    Q_OBJECT

public:
    CBackNextView(ButtonBarState& state, QWidget* parent = nullptr);

    QPushButton* nextButton() const { return next_; }
    QPushButton* backButton() const { return back_; }
    QPushButton* stopButton() const { return stop_; }
    PercentProgressBar* scanProgress() const { return scanProgress_; }
    PercentProgressBar* itemProgress() const { return itemProgress_; }
    QLabel* scanStatus() const { return scanStatus_; }
    QLabel* itemStatus() const { return itemStatus_; }

    // Shows the state's current values.
    void Refresh();

signals:
    void nextClicked();
    void backClicked();
    void stopClicked();
    // The view shows a new state.
    void refreshed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* MakeText(const QString& text);

    ButtonBarState& state_;
    QPixmap background_;
    QPushButton* next_;
    QPushButton* back_;
    QPushButton* stop_;
    PercentProgressBar* scanProgress_;
    QLabel* scanStatus_;
    PercentProgressBar* itemProgress_;
    QLabel* itemStatus_;
};

}  // namespace velmor::ui
