#pragma once

#include <QString>
#include <QUrl>
#include <memory>

class QFileDialog;
class QWidget;

namespace velmor::ui {

// What the program asks of the desktop: its file dialogs and the default handlers of files
// and web addresses. The save and directory dialogs open where the last one was answered. Tests put
// their own in its place, so that they never open a dialog, a browser or any other program.
class DesktopServices {
public:
    virtual ~DesktopServices() = default;

    // The open-file dialog of step 1; empty when cancelled.
    virtual QString ChooseDatabaseFile(QWidget* parent);
    // The streaming file of step 1 (.stm); empty when cancelled.
    virtual QString ChooseStreamingFile(QWidget* parent);
    // Where an attachment is saved, offered under its own name; empty when cancelled.
    virtual QString ChooseAttachmentFile(QWidget* parent, const QString& name);
    // Where Save writes the item list; empty when cancelled.
    virtual QString ChooseSaveFile(QWidget* parent);
    // The directory an export writes to; empty when cancelled.
    virtual QString ChooseDirectory(QWidget* parent);
    // Opens a file or a web address with the desktop's default handler; false when the
    // desktop has none or it could not be started.
    virtual bool OpenWithDefaultHandler(const QUrl& url);

private:
    // Runs a save dialog; the file chosen, whose directory the next save dialog opens in.
    QString ChosenSaveFile(QFileDialog& dialog);

    // Where the last save or directory dialog was answered, for the session; empty: none yet.
    QString lastSaveDirectory_;
};

// The step-1 dialog: an existing file, default suffix "EDB", the database filter first.
std::unique_ptr<QFileDialog> MakeDatabaseFileDialog(QWidget* parent);

}  // namespace velmor::ui
