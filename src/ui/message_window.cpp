#include "message_window.h"

#include <QFontDatabase>

#include <QFormLayout>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <array>

#include "qt_text.h"

namespace velmor::ui {

namespace {

constexpr int kWidth = 760;
constexpr int kHeight = 560;
constexpr const char* kHeaderNames[MessageWindow::kHeaderRows] = {
    "From:", "To:", "Date:", "Subject:", "Cc:", "Bcc:", "Importance:", "Read:"};
// The order in which the window lists the rows.
constexpr MessageWindow::HeaderRow kHeaderOrder[MessageWindow::kHeaderRows] = {
    MessageWindow::kFrom,       MessageWindow::kTo,   MessageWindow::kCc,
    MessageWindow::kBcc,        MessageWindow::kDate, MessageWindow::kSubject,
    MessageWindow::kImportance, MessageWindow::kRead};
constexpr int kFirstOptionalRow = MessageWindow::kCc;
constexpr char kShowHeadersText[] = "Show Internet headers";

// The texts of the rows, empty for what the mail does not have.
std::array<std::u16string, MessageWindow::kHeaderRows> HeaderTexts(const MessageContent& message) {
    const MessageDetails& details = message.details;
    std::array<std::u16string, MessageWindow::kHeaderRows> texts;
    texts[MessageWindow::kFrom] = AddressText(details.from);
    if (texts[MessageWindow::kFrom].empty()) {
        texts[MessageWindow::kFrom] = message.from;
    }
    texts[MessageWindow::kTo] = AddressListText(details.to);
    if (texts[MessageWindow::kTo].empty()) {
        texts[MessageWindow::kTo] = message.to;
    }
    texts[MessageWindow::kDate] = message.date;
    texts[MessageWindow::kSubject] = message.subject;
    texts[MessageWindow::kCc] = AddressListText(details.cc);
    texts[MessageWindow::kBcc] = AddressListText(details.bcc);
    if (details.importance) {
        texts[MessageWindow::kImportance] = ImportanceName(*details.importance);
    }
    if (details.read) {
        texts[MessageWindow::kRead] = *details.read ? u"yes" : u"no";
    }
    return texts;
}
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
    : QWidget(parent, Qt::Window),
      form_(new QFormLayout),
      note_(new QLabel(this)),
      body_(new ContainedTextBrowser(this)),
      headersToggle_(new QCheckBox(kShowHeadersText, this)),
      headersView_(new QPlainTextEdit(this)),
      pages_(new QStackedWidget(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(ToQString(message.subject));
    resize(kWidth, kHeight);

    const auto texts = HeaderTexts(message);
    for (const HeaderRow row : kHeaderOrder) {
        headers_[row] = new QLabel(ToQString(texts[row]), this);
        headers_[row]->setTextFormat(Qt::PlainText);
        headers_[row]->setTextInteractionFlags(Qt::TextSelectableByMouse);
        headers_[row]->setWordWrap(true);
        form_->addRow(kHeaderNames[row], headers_[row]);
        form_->setRowVisible(headers_[row], row < kFirstOptionalRow || !texts[row].empty());
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

    const auto& headers = message.details.internetHeaders;
    headersView_->setReadOnly(true);
    headersView_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    headersView_->setLineWrapMode(QPlainTextEdit::NoWrap);
    headersView_->setPlainText(headers ? ToQString(*headers) : QString());
    headersToggle_->setVisible(headers.has_value());
    pages_->addWidget(body_);
    pages_->addWidget(headersView_);
    connect(headersToggle_, &QCheckBox::toggled, this, [this](bool shown) {
        pages_->setCurrentWidget(shown ? static_cast<QWidget*>(headersView_) : body_);
    });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form_);
    layout->addWidget(headersToggle_);
    layout->addWidget(note_);
    layout->addWidget(pages_, 1);
}

bool MessageWindow::headerShown(int row) const {
    return form_->isRowVisible(headers_[row]);
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
