#pragma once

#include <QTreeWidgetItem>
#include <functional>

#include "desktop_services.h"
#include "main_frame.h"

// Drives the main window through the wizard without a person: the screenshot tool and the
// window benchmark walk it this way on the offscreen platform.
namespace velmor::ui::headless {

// Opens nothing: no dialog, no browser.
class NoDesktop : public DesktopServices {
public:
    QString ChooseDatabaseFile(QWidget*) override { return {}; }
    QString ChooseSaveFile(QWidget*) override { return {}; }
    bool OpenWithDefaultHandler(const QUrl&) override { return true; }
};

// Serves the event loop until done() holds; false once the patience has run out.
bool WaitFor(const std::function<bool()>& done, int patienceMilliseconds);

// No worker runs and Next is shown and enabled: the wizard waits for the user.
bool Idle(CMainFrame& frame);

// The child of parent with the given label, or null.
QTreeWidgetItem* ChildNamed(QTreeWidgetItem* parent, const QString& name);

// Step 1: types the path and presses Next; true once discovery has listed a mailbox.
bool OpenDatabase(CMainFrame& frame, const QString& path, int patienceMilliseconds);

// Step 2: selects the mailbox row and presses Next; true once its folder tree is shown.
bool OpenMailbox(CMainFrame& frame, QTreeWidgetItem* row, int patienceMilliseconds);

}  // namespace velmor::ui::headless
