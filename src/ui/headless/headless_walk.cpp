#include "headless/headless_walk.h"

#include <QApplication>
#include <QDeadlineTimer>

namespace velmor::ui::headless {

namespace {

constexpr int kEventSliceMilliseconds = 20;

}  // namespace

bool WaitFor(const std::function<bool()>& done, int patienceMilliseconds) {
    QDeadlineTimer deadline(patienceMilliseconds);
    while (!done()) {
        if (deadline.hasExpired()) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, kEventSliceMilliseconds);
    }
    QApplication::processEvents();
    return true;
}

bool Idle(CMainFrame& frame) {
    return !frame.wizard().workers().AnyRunning() && frame.buttonBar()->nextButton()->isVisible() &&
           frame.buttonBar()->nextButton()->isEnabled();
}

QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& name) {
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i) {
        if (parent->child(i)->text(0) == name) {
            return parent->child(i);
        }
    }
    return nullptr;
}

bool OpenDatabase(CMainFrame& frame, const QString& path, int patienceMilliseconds) {
    frame.filePage()->pathBox()->setPlainText(path);
    frame.buttonBar()->nextButton()->click();
    QTreeWidget* mailboxes = frame.mailboxPage()->mailboxList();
    return WaitFor([&] { return Idle(frame) && mailboxes->topLevelItemCount() > 0; },
                   patienceMilliseconds);
}

bool OpenMailbox(CMainFrame& frame, QTreeWidgetItem* row, int patienceMilliseconds) {
    frame.mailboxPage()->mailboxList()->setCurrentItem(row);
    frame.buttonBar()->nextButton()->click();
    CFolderTreeCtrl* tree = frame.leftPane()->folderTree();
    return WaitFor([&] { return Idle(frame) && tree->topLevelItemCount() > 0; },
                   patienceMilliseconds);
}

}  // namespace velmor::ui::headless
