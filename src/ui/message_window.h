#pragma once

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QWidget>

#include "browse/message_content.h"

namespace velmor::ui {

// A body view that shows what the mail holds and nothing else: images, style sheets and
// links to other documents are never loaded, and HTML scripts never run in a text browser.
class ContainedTextBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit ContainedTextBrowser(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;
};

// The read-only window of one mail: its subject as caption, the headers (From, To, Cc and
// Bcc with the addresses the store keeps, importance and read state when known), a note when
// the body is missing, partial or compressed, and the body (HTML when there is some). A mail
// with Internet headers has a toggle that shows them in place of the body.
class MessageWindow : public QWidget {
    Q_OBJECT

public:
    explicit MessageWindow(const MessageContent& message, QWidget* parent = nullptr);

    QLabel* headerLabel(int row) const { return headers_[row]; }
    // Whether a header row is shown: the first four always, the others when the mail has them.
    bool headerShown(int row) const;
    QLabel* noteLabel() const { return note_; }
    ContainedTextBrowser* bodyView() const { return body_; }
    QCheckBox* internetHeadersToggle() const { return headersToggle_; }
    QPlainTextEdit* internetHeadersView() const { return headersView_; }

    // Header rows by index; the window lists them From, To, Cc, Bcc, Date, Subject,
    // Importance, Read.
    enum HeaderRow { kFrom, kTo, kDate, kSubject, kCc, kBcc, kImportance, kRead };
    static constexpr int kHeaderRows = 8;

protected:
    // Escape and Ctrl+W close the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QFormLayout* form_;
    QLabel* headers_[kHeaderRows];
    QLabel* note_;
    ContainedTextBrowser* body_;
    QCheckBox* headersToggle_;
    QPlainTextEdit* headersView_;
    QStackedWidget* pages_;
};

}  // namespace velmor::ui
