#pragma once

#include <QLabel>
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

// The read-only window of one mail: its subject as caption, the headers, a note when the
// body is missing, partial or compressed, and the body (HTML when there is some).
class MessageWindow : public QWidget {
    Q_OBJECT

public:
    explicit MessageWindow(const MessageContent& message, QWidget* parent = nullptr);

    QLabel* headerLabel(int row) const { return headers_[row]; }
    QLabel* noteLabel() const { return note_; }
    ContainedTextBrowser* bodyView() const { return body_; }

    static constexpr int kHeaderRows = 4;  // From, To, Date, Subject

protected:
    // Escape and Ctrl+W close the window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* headers_[kHeaderRows];
    QLabel* note_;
    ContainedTextBrowser* body_;
};

}  // namespace velmor::ui
