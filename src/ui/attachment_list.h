#pragma once

#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>

#include "wizard/message_attachments.h"

namespace velmor::ui {

class DesktopServices;

// The attachments of a mail in its message window: name, type and size, and buttons that save
// the chosen one or all of them where the user says.
class AttachmentList : public QWidget {
    Q_OBJECT

public:
    // database: the open database, never written over; may be null.
    AttachmentList(MessageAttachments attachments, DesktopServices& desktop,
                   const EdbFile* database, QWidget* parent = nullptr);

    QTreeWidget* list() const { return list_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* saveAllButton() const { return saveAll_; }

    // The file dialog for the current attachment, then the file.
    void SaveCurrent();
    // The directory dialog, then every attachment into it.
    void SaveAll();

private:
    void ShowFailure(const QString& reason);
    void ShowNote(QMessageBox::Icon icon, const QString& text);

    MessageAttachments attachments_;
    DesktopServices& desktop_;
    const EdbFile* database_;
    QTreeWidget* list_;
    QPushButton* save_;
    QPushButton* saveAll_;
};

}  // namespace velmor::ui
