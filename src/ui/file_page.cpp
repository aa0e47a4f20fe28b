#include "file_page.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "desktop_services.h"
#include "page_painting.h"
#include "pictures.h"
#include "qt_text.h"
#include "wizard/path_box_trim.h"

namespace velmor::ui {

namespace {

// The step panel marks step 1 on this page.
constexpr int kFileStepIndex = 0;
const QString kBrowseButtonText = "...";
const QString kStreamingLabel = "Streaming file (.STM), optional:";
constexpr int kInstructionFlags = Qt::AlignLeft | Qt::TextWordWrap;

}  // namespace

C1FirstView::C1FirstView(DesktopServices& desktop, QWidget* parent)
    : QWidget(parent),
      desktop_(desktop),
      stepPanel_(new StepPanel(kFileStepIndex, this)),
      helpIcon_(new QLabel(this)),
      pathBox_(new QPlainTextEdit(this)),
      browseButton_(new QPushButton(kBrowseButtonText, this)),
      streamingLabel_(new QLabel(kStreamingLabel, this)),
      streamingBox_(new QLineEdit(this)),
      streamingBrowseButton_(new QPushButton(kBrowseButtonText, this)) {
    helpIcon_->setPixmap(Picture("help-icon"));
    helpIcon_->setAlignment(Qt::AlignCenter);
    // One visible line that scrolls sideways; Enter goes on to the next step.
    pathBox_->setLineWrapMode(QPlainTextEdit::NoWrap);
    pathBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pathBox_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab moves on, as a typed trailing tab would be dropped anyway.
    pathBox_->setTabChangesFocus(true);
    pathBox_->document()->setDocumentMargin(2);
    pathBox_->installEventFilter(this);
    connect(pathBox_, &QPlainTextEdit::textChanged, this, &C1FirstView::TrimPathBox);
    connect(browseButton_, &QPushButton::clicked, this, &C1FirstView::BrowseForDatabase);
    connect(pathBox_, &QPlainTextEdit::textChanged, this, &C1FirstView::FillStreamingBox);
    // textEdited comes from the user only, never from the filling.
    connect(streamingBox_, &QLineEdit::textEdited, this,
            [this](const QString& text) { streamingFill_.StreamingPathEdited(ToU16(text)); });
    connect(streamingBox_, &QLineEdit::returnPressed, this, &C1FirstView::enterPressed);
    connect(streamingBrowseButton_, &QPushButton::clicked, this,
            &C1FirstView::BrowseForStreamingFile);
}

bool C1FirstView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == pathBox_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            emit enterPressed();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void C1FirstView::BrowseForDatabase() {
    const QString chosen = desktop_.ChooseDatabaseFile(window());
    if (!chosen.isEmpty()) {
        pathBox_->setPlainText(chosen);
    }
}

void C1FirstView::BrowseForStreamingFile() {
    const QString chosen = desktop_.ChooseStreamingFile(window());
    if (!chosen.isEmpty()) {
        streamingBox_->setText(chosen);
        streamingFill_.StreamingPathEdited(ToU16(chosen));
    }
}

void C1FirstView::FillStreamingBox() {
    if (const auto text = streamingFill_.DatabasePathChanged(ToU16(pathBox_->toPlainText()))) {
        streamingBox_->setText(ToQString(*text));
    }
}

void C1FirstView::TrimPathBox() {
    const auto shorter = TrimPathBoxOnce(ToU16(pathBox_->toPlainText()));
    if (!shorter) {
        return;
    }
    pathBox_->setPlainText(ToQString(*shorter));
    pathBox_->moveCursor(QTextCursor::End);
}

// In a small window the text takes more lines than the room beside the help icon holds: it
// grows upwards from the path box, so that it is never cut.
QRect C1FirstView::InstructionRect() const {
    const int h = height();
    QRect area = CornerRect(320, h / 2 - 75, width() - 140, h / 2 - 20);
    const int needed =
        fontMetrics().boundingRect(area, kInstructionFlags, kFilePageInstruction).height();
    if (needed > area.height()) {
        area.setTop(std::max(0, area.top() + area.height() - needed));
    }
    return area;
}

void C1FirstView::resizeEvent(QResizeEvent*) {
    const int w = width();
    const int h = height();
    stepPanel_->setGeometry(0, 0, kStepPanelWidth, h);
    helpIcon_->setGeometry(280, h / 2 - 75, 32, 27);
    pathBox_->setGeometry(280, h / 2 - 20, w - 420, 25);
    browseButton_->setGeometry(w - 130, h / 2 - 20, 50, 25);
    streamingLabel_->setGeometry(280, h / 2 + 15, w - 420, 20);
    streamingBox_->setGeometry(280, h / 2 + 35, w - 420, 25);
    streamingBrowseButton_->setGeometry(w - 130, h / 2 + 35, 50, 25);
}

void C1FirstView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), PageGradient(rect()));
    painter.setPen(kPageBlue);
    painter.drawText(InstructionRect(), kInstructionFlags, kFilePageInstruction);
}

}  // namespace velmor::ui
