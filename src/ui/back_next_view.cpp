#include "back_next_view.h"

#include <QPainter>
#include <algorithm>

#include "pictures.h"
#include "qt_text.h"

namespace velmor::ui {

namespace {

const QColor kTextColour(0, 0, 255);

void Apply(QWidget* control, const ControlState& state) {
    control->setVisible(state.visible);
    control->setEnabled(state.enabled);
}

// Each caption's first letter is its Alt key; Stop and Save share one spot and never show
// together.
void Apply(QPushButton* button, const ButtonState& state) {
    button->setText("&" + ToQString(state.caption));
    Apply(static_cast<QWidget*>(button), state);
}

void Apply(PercentProgressBar* bar, const ProgressState& state) {
    bar->SetRange(state.low, state.high);
    bar->SetPosition(state.position);
    Apply(static_cast<QWidget*>(bar), state);
}

void Apply(QLabel* label, const TextState& state) {
    label->setText(ToQString(state.text));
    Apply(static_cast<QWidget*>(label), state);
}

// A line "<what>: <name>" that is too long keeps <what> whole and cuts the name in its
// middle; the whole line is the tooltip.
QString FittedStatus(const QString& text, const QFontMetrics& metrics, int width) {
    if (metrics.horizontalAdvance(text) <= width) {
        return text;
    }
    const qsizetype split = text.indexOf(": ");
    if (split < 0) {
        return metrics.elidedText(text, Qt::ElideMiddle, width);
    }
    const QString what = text.left(split + 2);
    const int left = std::max(0, width - metrics.horizontalAdvance(what));
    return what + metrics.elidedText(text.mid(split + 2), Qt::ElideMiddle, left);
}

}  // namespace

CBackNextView::CBackNextView(ButtonBarState& state, QWidget* parent)
    : QWidget(parent),
      state_(state),
      background_(Picture("button-bar")),
      next_(new QPushButton(this)),
      back_(new QPushButton(this)),
      stop_(new QPushButton(this)),
      scanProgress_(new PercentProgressBar(this)),
      scanStatus_(MakeText({})),
      itemProgress_(new PercentProgressBar(this)),
      itemStatus_(MakeText({})) {
    connect(next_, &QPushButton::clicked, this, &CBackNextView::nextClicked);
    connect(back_, &QPushButton::clicked, this, &CBackNextView::backClicked);
    connect(stop_, &QPushButton::clicked, this, &CBackNextView::stopClicked);
    state_.SetObserver([this] { Refresh(); });
    Refresh();
}

QLabel* CBackNextView::MakeText(const QString& text) {
    auto* label = new QLabel(text, this);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kTextColour);
    label->setPalette(palette);
    label->setAutoFillBackground(false);
    return label;
}

void CBackNextView::Refresh() {
    Apply(next_, state_.next);
    Apply(back_, state_.back);
    Apply(stop_, state_.stop);
    Apply(scanProgress_, state_.scanProgress);
    Apply(scanStatus_, state_.scanStatus);
    Apply(itemProgress_, state_.itemProgress);
    Apply(itemStatus_, state_.itemStatus);
    const QString status = ToQString(state_.itemStatus.text);
    itemStatus_->setText(FittedStatus(status, itemStatus_->fontMetrics(), itemStatus_->width()));
    itemStatus_->setToolTip(status);
    emit refreshed();
}

void CBackNextView::resizeEvent(QResizeEvent*) {
    const int w = width();
    const int h = height();
    next_->setGeometry(w - 110, h - 40, 100, 30);
    back_->setGeometry(w - 220, h - 40, 100, 30);
    stop_->setGeometry(w - 110, h - 40, 100, 30);
    scanProgress_->setGeometry(170, 15, w - 340, 15);
    scanStatus_->setGeometry(150, 40, w - 250, 15);
    itemProgress_->setGeometry(300, 52, w - 480, 15);
    itemStatus_->setGeometry(10, 50, 240, 18);
}

// The background picture is stretched across the bar's width at its own height.
void CBackNextView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawPixmap(QRect(0, 0, width(), background_.height()), background_);
}

}  // namespace velmor::ui
