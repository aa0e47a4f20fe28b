#include "step_panel.h"

#include <QLinearGradient>
#include <QPainter>

#include "page_painting.h"
#include "pictures.h"

namespace velmor::ui {

namespace {

constexpr int kItemPitch = 120;
constexpr int kTitleTop = 20;
constexpr int kTitleBand = 20;
constexpr int kDescriptionBottom = 130;
constexpr int kLeftTextMargin = 50;
constexpr int kRightTextMargin = 20;
constexpr int kMarkerLeft = 20;
constexpr int kMarkerTop = 45;

// The panel's texts are narrow columns: a small, condensed face keeps each step's text
// inside its band.
constexpr int kTextPixelSize = 11;

const QColor kGold(255, 219, 20);
const QColor kCurrentTitle(255, 0, 0);
const QColor kDoneTitle(0, 91, 0);
const QColor kPending(136, 136, 136);

struct StepDescriptionText {
    const char* title;
    const char* description;
};

constexpr StepDescriptionText kSteps[] = {
    {"Step 1",
     "Click the [...] button to select corrupt .EDB file for repairing. After selection, click "
     "the [Next] button."},
    {"Step 2", "Select the Mailbox-Name to extract its emails and click the [Next] button."},
    {"Step 3",
     "You can easily view recovered emails, attachment emails, deleted items, contacts, and "
     "other folder items of the selected recovered mailbox."},
};

}  // namespace

StepPanel::StepPanel(int currentIndex, QWidget* parent)
    : QWidget(parent),
      current_(currentIndex),
      currentMarker_(Picture("step-current")),
      doneMarker_(Picture("step-done")) {
    for (const StepDescriptionText& step : kSteps) {
        AddStep(step.title, step.description);
    }
}

void StepPanel::AddStep(const QString& title, const QString& description) {
    titles_.append(title);
    descriptions_.append(description);
    update();
}

QRect StepPanel::TitleRect(int index, int width) {
    const int top = kItemPitch * index + kTitleTop;
    return CornerRect(kLeftTextMargin, top, width - kRightTextMargin, top + kTitleBand);
}

QRect StepPanel::DescriptionRect(int index, int width) {
    const int top = kItemPitch * index + kTitleTop + kTitleBand;
    return CornerRect(kLeftTextMargin, top, width - kRightTextMargin,
                      kItemPitch * index + kDescriptionBottom);
}

QPoint StepPanel::MarkerPosition(int index) {
    return QPoint(kMarkerLeft, kItemPitch * index + kMarkerTop);
}

// Painted into a buffer first (a QWidget's painting always is), so it never flickers.
void StepPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kGold);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), PageGradient(rect()));

    QFont regular = font();
    regular.setPixelSize(kTextPixelSize);
    regular.setStretch(QFont::SemiCondensed);
    QFont bold = regular;
    bold.setBold(true);
    for (int i = 0; i < titles_.size(); ++i) {
        const bool current = i == current_;
        const bool done = i < current_;
        painter.setFont(regular);
        painter.setPen(current ? kPageBlue : done ? QColor(Qt::black) : kPending);
        painter.drawText(DescriptionRect(i, width()), Qt::AlignLeft | Qt::TextWordWrap,
                         descriptions_[i]);
        painter.setFont(bold);
        painter.setPen(current ? kCurrentTitle : done ? kDoneTitle : kPending);
        painter.drawText(TitleRect(i, width()), Qt::AlignLeft | Qt::AlignTop, titles_[i]);
        if (current) {
            painter.drawPixmap(MarkerPosition(i), currentMarker_);
        } else if (done) {
            painter.drawPixmap(MarkerPosition(i), doneMarker_);
        }
    }
}

}  // namespace velmor::ui
