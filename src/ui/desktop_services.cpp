#include "desktop_services.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>

namespace velmor::ui {

namespace {

// Display name and patterns of each filter. The database pattern lists every letter case,
// because Linux file names are case-sensitive.
const QString kDatabaseFilter = "Exchange Database File (*.EDB) (*.[Ee][Dd][Bb])";
const QString kAllFilesFilter = "All Files (*.*) (*)";
const QString kDatabaseSuffix = "EDB";
const QString kStreamingFilter = "Streaming File (*.STM) (*.[Ss][Tt][Mm])";
const QString kCsvFilter = "Comma-Separated Values (*.csv)";
const QString kCsvSuffix = "csv";

}  // namespace

std::unique_ptr<QFileDialog> MakeDatabaseFileDialog(QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setDefaultSuffix(kDatabaseSuffix);
    dialog->setNameFilters({kDatabaseFilter, kAllFilesFilter});
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    return dialog;
}

QString DesktopServices::ChooseDatabaseFile(QWidget* parent) {
    const std::unique_ptr<QFileDialog> dialog = MakeDatabaseFileDialog(parent);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) {
        return {};
    }
    return dialog->selectedFiles().front();
}

QString DesktopServices::ChooseStreamingFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters({kStreamingFilter, kAllFilesFilter});
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

QString DesktopServices::ChooseAttachmentFile(QWidget* parent, const QString& name) {
    QFileDialog dialog(parent, {}, lastSaveDirectory_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(name);
    return ChosenSaveFile(dialog);
}

QString DesktopServices::ChooseSaveFile(QWidget* parent) {
    QFileDialog dialog(parent, {}, lastSaveDirectory_);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(kCsvSuffix);
    dialog.setNameFilter(kCsvFilter);
    return ChosenSaveFile(dialog);
}

QString DesktopServices::ChosenSaveFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    const QString chosen = dialog.selectedFiles().front();
    lastSaveDirectory_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString DesktopServices::ChooseDirectory(QWidget* parent) {
    const QString chosen = QFileDialog::getExistingDirectory(parent, {}, lastSaveDirectory_);
    if (!chosen.isEmpty()) {
        lastSaveDirectory_ = chosen;
    }
    return chosen;
}

bool DesktopServices::OpenWithDefaultHandler(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

}  // namespace velmor::ui
