// velmor: the desktop recovery viewer. One copy runs per user; the main window opens
// maximised on step 1 of the wizard.
#include <QApplication>
#include <QMessageBox>

#include "desktop_services.h"
#include "discovery/wizard_port.h"
#include "main_frame.h"
#include "qt_text.h"
#include "settings_file.h"
#include "shell/single_instance_lock.h"

int main(int argc, char** argv) {
    using namespace velmor::ui;
    SingleInstanceLock instanceLock;
    const bool firstCopy = instanceLock.Acquire();

    QApplication app(argc, argv);
    UseVelmorSettingsFile();
    QApplication::setApplicationVersion(VELMOR_VERSION);
    if (!firstCopy) {
        QMessageBox::warning(nullptr, ToQString(velmor::kApplicationTitle),
                             ToQString(kAnotherInstanceRunning));
        return 0;
    }

    DesktopServices desktop;
    CMainFrame frame(desktop, QApplication::applicationFilePath());
    frame.showMaximized();
    return QApplication::exec();
}
