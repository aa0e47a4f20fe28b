// velmor-screenshots DATABASE OUTPUT-DIRECTORY: walks the main window through the three steps
// of the wizard on DATABASE and saves a picture of each step (step1.png to step3.png). Run it
// on the offscreen platform (scripts/screenshots.sh does).
#include <QApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <cstdio>
#include <functional>

#include "desktop_services.h"
#include "main_frame.h"

namespace {

using velmor::ui::CMainFrame;

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kPatienceMilliseconds = 60000;

// Opens nothing: no dialog, no browser.
class NoDesktop : public velmor::ui::DesktopServices {
public:
    QString ChooseDatabaseFile(QWidget*) override { return {}; }
    QString ChooseSaveFile(QWidget*) override { return {}; }
    void OpenWithDefaultHandler(const QUrl&) override {}
};

bool WaitFor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(kPatienceMilliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    QApplication::processEvents();
    return true;
}

bool Idle(CMainFrame& frame) {
    return !frame.wizard().workers().AnyRunning() && frame.buttonBar()->nextButton()->isVisible() &&
           frame.buttonBar()->nextButton()->isEnabled();
}

bool Save(CMainFrame& frame, const QDir& output, const QString& name) {
    QApplication::processEvents();
    const QString path = output.filePath(name);
    if (!frame.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

QTreeWidgetItem* Child(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name) {
            return parent->child(i);
        }
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmor-screenshots DATABASE OUTPUT-DIRECTORY\n");
        return 2;
    }
    const QString database = QString::fromLocal8Bit(argv[1]);
    const QDir output(QString::fromLocal8Bit(argv[2]));
    NoDesktop desktop;
    CMainFrame frame(desktop, QApplication::applicationFilePath());
    frame.resize(kWidth, kHeight);
    frame.show();

    frame.filePage()->pathBox()->setPlainText(database);
    if (!Save(frame, output, "step1.png")) {
        return 1;
    }

    frame.buttonBar()->nextButton()->click();
    QTreeWidget* mailboxes = frame.mailboxPage()->mailboxList();
    if (!WaitFor([&] { return Idle(frame) && mailboxes->topLevelItemCount() > 0; })) {
        std::fprintf(stderr, "no mailbox found in %s\n", argv[1]);
        return 1;
    }
    mailboxes->setCurrentItem(mailboxes->topLevelItem(0));
    if (!Save(frame, output, "step2.png")) {
        return 1;
    }

    frame.buttonBar()->nextButton()->click();
    velmor::ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    if (!WaitFor([&] { return Idle(frame) && tree->topLevelItemCount() > 0; })) {
        return 1;
    }
    QTreeWidgetItem* top = Child(tree->topLevelItem(0), "Top of Information Store");
    QTreeWidgetItem* inbox = Child(top, "Inbox");
    if (inbox != nullptr) {
        tree->expandAll();
        tree->setCurrentItem(inbox);
        frame.wizard().BrowseFolder(velmor::ui::CFolderTreeCtrl::Handle(inbox));
        WaitFor([&] { return Idle(frame) && frame.rightPane()->itemList()->rowCount() > 0; });
    }
    return Save(frame, output, "step3.png") ? 0 : 1;
}
