#include "message_window.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "qt_text.h"

namespace velmor::ui {

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 560;
constexpr const char* kHeaderNames[MessageWindow::kHeaderRows] = {
    "From:", "To:", "Date:", "Subject:"};
// Escape and these keys close the window.
constexpr QKeyCombination kCloseKeys(Qt::CTRL | Qt::Key_W);

}  // namespace

ContainedTextBrowser::ContainedTextBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(false);
    setOpenExternalLinks(false);
    setReadOnly(true);
}

QVariant ContainedTextBrowser::loadResource(int, const QUrl&) {
    return {};
}

MessageWindow::MessageWindow(const MessageContent& message, QWidget* parent)
    : QWidget(parent, Qt::Window), note_(new QLabel(this)), body_(new ContainedTextBrowser(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ToQString(message.subject));
    resize(kWidth, kHeight);

    auto* headers = new QFormLayout;
    const std::u16string* values[kHeaderRows] = {&message.from, &message.to, &message.date,
                                                 &message.subject};
    for (int row = 0; row < kHeaderRows; ++row) {
        headers_[row] = new QLabel(ToQString(*values[row]), this);
        headers_[row]->setTextFormat(Qt::PlainText);
        headers_[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        headers_[row]->setWordWrap(true);
        headers->addRow(kHeaderNames[row], headers_[row]);
    }

    const MailBody& body = message.body;
    note_->setTextFormat(Qt::PlainText);
    note_->setWordWrap(true);
    note_->setText(ToQString(body.note));
    note_->setVisible(!body.note.empty());

    if (body.showsHtml()) {
        body_->setHtml(ToQString(*body.html));
    } else {
        body_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        body_->setLineWrapMode(QTextEdit::WidgetWidth);
        body_->setPlainText(ToQString(body.best()));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(headers);
    layout->addWidget(note_);
    layout->addWidget(body_, 1);
}

// The body view passes on the keys it has no use for, these among them.
void MessageWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->keyCombination() == kCloseKeys) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace velmor::ui
