#pragma once

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QTreeWidgetItem>
#include <functional>
#include <memory>

#include "desktop_services.h"
#include "main_frame.h"
#include "temp_dir.h"

namespace velmor::test {

// Desktop services that open nothing: they record what the program asked for and answer the
// file dialogs from the test.
class RecordingDesktop : public ui::DesktopServices {
public:
    QString databaseChoice;
    QString saveChoice;
    QString directoryChoice;
    QString streamingChoice;
    QString attachmentChoice;
    QString offeredAttachmentName;  // the name the last attachment dialog offered
    int databaseDialogs = 0;
    int saveDialogs = 0;
    int directoryDialogs = 0;
    QList<QUrl> opened;
    bool handlerFound = true;  // false: the desktop has no program for what is opened

    QString ChooseDatabaseFile(QWidget*) override {
        ++databaseDialogs;
        return databaseChoice;
    }
    QString ChooseStreamingFile(QWidget*) override { return streamingChoice; }
    QString ChooseAttachmentFile(QWidget*, const QString& name) override {
        offeredAttachmentName = name;
        return attachmentChoice;
    }
    QString ChooseSaveFile(QWidget*) override {
        ++saveDialogs;
        return saveChoice;
    }
    QString ChooseDirectory(QWidget*) override {
        ++directoryDialogs;
        return directoryChoice;
    }
    bool OpenWithDefaultHandler(const QUrl& url) override {
        opened.append(url);
        return handlerFound;
    }
};

// A message box as the user saw it.
struct SeenBox {
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    bool ownedByMainWindow;
};

// Answers every message box that opens, the way the test says, and remembers each one.
class BoxAnswerer : public QObject {
    Q_OBJECT

public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer = QMessageBox::Ok);

    void SetAnswer(QMessageBox::StandardButton answer) { answer_ = answer; }
    // Runs while a box is open, before it is answered.
    std::function<void(const SeenBox&)> onBox;

    QList<SeenBox> seen;
    QStringList Texts() const;

private:
    void Look();

    QMessageBox::StandardButton answer_;
    QTimer timer_;
};

// Runs act once on the first modal window of type Window that shows, while the test waits.
template <typename Window>
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(std::function<void(Window&)> act) : act_(std::move(act)) {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* window = qobject_cast<Window*>(QApplication::activeModalWidget());
            if (window != nullptr && window->isVisible() && !seen) {
                seen = true;
                act_(*window);
            }
        });
        timer_.start(kModalLookInterval);
    }

    bool seen = false;

private:
    static constexpr int kModalLookInterval = 5;
    std::function<void(Window&)> act_;
    QTimer timer_;
};

// The "Code &Page" menu's own action, and its entries by their text.
QAction* CodePageMenuAction(ui::CMainFrame& frame);
QAction* CodePageAction(ui::CMainFrame& frame, const QString& text);

// The demo store of the writer: two mailboxes with folders and items of every kind.
std::filesystem::path WriteDemoDatabase(const std::filesystem::path& directory);

// The demo store's streaming file, written to path (Demo.stm beside Demo.edb, say).
void WriteDemoStreamingFile(const std::filesystem::path& path);

// Waits, serving the event loop, until done() holds; false after the time-out.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 20000);

// The main window as a user meets it, with the temporary directory pointed at a fresh one,
// so that "Test.eml" and the databases of the test stay apart from everything else.
class FrameFixture {
public:
    explicit FrameFixture(const QString& executableName = "velmor");
    ~FrameFixture();

    ui::CMainFrame& frame() { return *frame_; }
    RecordingDesktop desktop;
    TempDir dir;

    // Types a path into step 1 and presses Next; waits for the discovery to end.
    void OpenDatabase(const std::filesystem::path& path);
    // Selects the mailbox row and presses Next; waits for the tree to be populated.
    void OpenMailbox(int row);
    // Clicks a folder label in the tree (expanding its ancestors) and waits for the listing.
    void ListFolder(const QStringList& pathBelowRoot);

    void ClickNext();
    void ClickBack();
    // Clicks Stop once it is shown and enabled, as a user can click it only then.
    void ClickStop();

    QTreeWidgetItem* TreeItem(const QStringList& pathBelowRoot) const;
    void ClickLabel(QTreeWidgetItem* item);
    void ClickCheckBox(QTreeWidgetItem* item);
    // The rows of the item list, each as its cells joined by '|'.
    QStringList ItemRows() const;
    QStringList MailboxRows() const;
    bool Idle() const;

private:
    ScopedTmpDir tmpDir_;
    std::unique_ptr<ui::CMainFrame> frame_;
};

}  // namespace velmor::test
