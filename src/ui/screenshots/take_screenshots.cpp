// velmor-screenshots DATABASE OUTPUT-DIRECTORY: walks the main window through the three steps
// of the wizard on DATABASE and saves a picture of each step (step1.png to step3.png) and of
// the export dialog (export-dialog.png). Run it
// on the offscreen platform (scripts/screenshots.sh does).
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "export_dialog.h"
#include "headless/headless_walk.h"
#include "main_frame.h"

namespace {

using velmor::ui::CMainFrame;
namespace headless = velmor::ui::headless;

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kPatienceMilliseconds = 60000;
constexpr char kExampleExportDirectory[] = "/home/ann/Recovered mail";

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

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: velmor-screenshots DATABASE OUTPUT-DIRECTORY\n");
        return 2;
    }
    const QString database = QString::fromLocal8Bit(argv[1]);
    const QDir output(QString::fromLocal8Bit(argv[2]));
    headless::NoDesktop desktop;
    CMainFrame frame(desktop, QApplication::applicationFilePath());
    frame.resize(kWidth, kHeight);
    frame.show();

    frame.filePage()->pathBox()->setPlainText(database);
    if (!Save(frame, output, "step1.png")) {
        return 1;
    }

    if (!headless::OpenDatabase(frame, database, kPatienceMilliseconds)) {
        std::fprintf(stderr, "no mailbox found in %s\n", argv[1]);
        return 1;
    }
    QTreeWidget* mailboxes = frame.mailboxPage()->mailboxList();
    mailboxes->setCurrentItem(mailboxes->topLevelItem(0));
    if (!Save(frame, output, "step2.png")) {
        return 1;
    }

    if (!headless::OpenMailbox(frame, mailboxes->topLevelItem(0), kPatienceMilliseconds)) {
        return 1;
    }
    velmor::ui::CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    QTreeWidgetItem* top = headless::ChildNamed(tree->topLevelItem(0), "Top of Information Store");
    QTreeWidgetItem* inbox = headless::ChildNamed(top, "Inbox");
    if (inbox != nullptr) {
        tree->expandAll();
        tree->setCurrentItem(inbox);
        frame.wizard().BrowseFolder(velmor::ui::CFolderTreeCtrl::Handle(inbox));
        headless::WaitFor(
            [&] { return headless::Idle(frame) && frame.rightPane()->itemList()->rowCount() > 0; },
            kPatienceMilliseconds);
    }
    if (!Save(frame, output, "step3.png")) {
        return 1;
    }

    velmor::ui::CExportDialog dialog(desktop, &frame);
    dialog.directoryBox()->setText(kExampleExportDirectory);
    dialog.show();
    QApplication::processEvents();
    const QString path = output.filePath("export-dialog.png");
    if (!dialog.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s\n", qPrintable(path));
    return 0;
}
