#include "settings_file.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

namespace velmor::ui {

namespace {

constexpr char kProgramName[] = "velmor";
// The organisation name earlier versions kept their settings under.
constexpr char kOldOrganizationName[] = "Local AppWizard-Generated Applications";
constexpr mode_t kPrivateDirectoryMode = 0700;

}  // namespace

void UseVelmorSettingsFile() {
    QCoreApplication::setOrganizationName(kProgramName);
    QCoreApplication::setApplicationName(kProgramName);
    QSettings settings;
    const QFileInfo file(settings.fileName());
    if (file.exists()) {
        return;
    }
    // mkdir leaves a directory that is already there (or a link) alone.
    ::mkdir(QFile::encodeName(file.absolutePath()).constData(), kPrivateDirectoryMode);
    const QSettings old(QSettings::NativeFormat, QSettings::UserScope, kOldOrganizationName,
                        kProgramName);
    if (!QFileInfo::exists(old.fileName())) {
        return;
    }
    for (const QString& key : old.allKeys()) {
        settings.setValue(key, old.value(key));
    }
    settings.sync();
}

}  // namespace velmor::ui
