#include "percent_progress_bar.h"

#include <QLinearGradient>
#include <QPainter>

#include "wizard/percent_progress.h"

namespace velmor::ui {

namespace {

const QColor kFillEnd(0, 255, 0);

}  // namespace

void PercentProgressBar::SetRange(int low, int high) {
    if (low == low_ && high == high_) {
        return;
    }
    low_ = low;
    high_ = high;
    update();
}

void PercentProgressBar::SetPosition(int position) {
    if (position == position_) {
        return;
    }
    const int before = percent();
    position_ = position;
    if (percent() != before) {
        update();
    }
}

int PercentProgressBar::percent() const {
    return ProgressPercent(position_, high_);
}

void PercentProgressBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect client = rect();
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(client.adjusted(0, 0, -1, -1));

    const int shown = percent();
    const int innerWidth = client.width() - 2;
    if (shown > 0 && innerWidth > 0) {
        // Positions beyond the upper bound fill the bar but never its frame.
        const int right = std::min(ProgressFillWidth(client.width(), shown), client.width() - 1);
        const QRect filled(1, 1, right - 1, client.height() - 2);
        QLinearGradient gradient(filled.topLeft(), filled.topRight());
        gradient.setColorAt(0, Qt::white);
        gradient.setColorAt(1, kFillEnd);
        painter.fillRect(filled, gradient);
    }
    painter.setPen(Qt::black);
    painter.drawText(QRect(client.width() / 2, 0, client.width(), client.height()),
                     Qt::AlignLeft | Qt::AlignTop, QString::number(shown) + "%");
}

}  // namespace velmor::ui
