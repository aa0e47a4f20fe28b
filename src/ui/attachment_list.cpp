#include "attachment_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMessageBox>
#include <QVBoxLayout>

#include "desktop_services.h"
#include "discovery/wizard_port.h"
#include "qt_text.h"

namespace velmor::ui {

namespace {

const QStringList kHeadings = {"Attachment", "Type", "Size"};
const QString kSave = "&Save Attachment...";
const QString kSaveAll = "Save &All Attachments...";
const QString kAttachmentSaveFailed = "The attachment could not be saved: %1";
const QString kSaveAllFailed = "%1 of %2 attachments were saved to %3. %4";
const QString kSavedUnderOtherNames = "These names were taken in %1, so other names were used:";
const QString kSavedAs = "%1 was saved as %2";
constexpr int kSizeColumn = 2;
constexpr int kVisibleRows = 4;

}  // namespace

AttachmentList::AttachmentList(MessageAttachments attachments, DesktopServices& desktop,
                               const EdbFile* database, QWidget* parent)
    : QWidget(parent),
      attachments_(std::move(attachments)),
      desktop_(desktop),
      database_(database),
      list_(new QTreeWidget(this)),
      save_(new QPushButton(kSave, this)),
      saveAll_(new QPushButton(kSaveAll, this)) {
    list_->setHeaderLabels(kHeadings);
    list_->setRootIsDecorated(false);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    const QLocale locale;
    for (const MimeAttachment& attachment : attachments_.list()) {
        auto* row = new QTreeWidgetItem(list_, {QString::fromStdString(attachment.name),
                                                QString::fromStdString(attachment.type),
                                                locale.formattedDataSize(attachment.size)});
        row->setTextAlignment(kSizeColumn, Qt::AlignRight | Qt::AlignVCenter);
    }
    if (list_->topLevelItemCount() > 0) {
        list_->setCurrentItem(list_->topLevelItem(0));
    }
    list_->setMaximumHeight(list_->sizeHintForRow(0) * kVisibleRows +
                            list_->header()->sizeHint().height() + 2 * list_->frameWidth());
    save_->setEnabled(!attachments_.list().empty());
    saveAll_->setEnabled(!attachments_.list().empty());
    connect(save_, &QPushButton::clicked, this, &AttachmentList::SaveCurrent);
    connect(saveAll_, &QPushButton::clicked, this, &AttachmentList::SaveAll);
    connect(list_, &QTreeWidget::itemActivated, this, &AttachmentList::SaveCurrent);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(save_);
    buttons->addWidget(saveAll_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(list_);
    layout->addLayout(buttons);
}

void AttachmentList::SaveCurrent() {
    const int index = list_->indexOfTopLevelItem(list_->currentItem());
    if (index < 0) {
        return;
    }
    const auto at = static_cast<size_t>(index);
    const QString path =
        desktop_.ChooseAttachmentFile(window(), QString::fromStdString(attachments_.FileName(at)));
    if (path.isEmpty()) {
        return;
    }
    std::string error;
    if (!attachments_.Save(at, path.toStdString(), database_, error)) {
        ShowFailure(kAttachmentSaveFailed.arg(QString::fromStdString(error)));
    }
}

void AttachmentList::SaveAll() {
    const QString directory = desktop_.ChooseDirectory(window());
    if (directory.isEmpty()) {
        return;
    }
    std::string error;
    std::vector<MessageAttachments::Renamed> renamed;
    const size_t written =
        attachments_.SaveAll(directory.toStdString(), database_, error, &renamed);
    QStringList notes;
    if (!error.empty()) {
        notes.append(kSaveAllFailed.arg(written)
                         .arg(attachments_.list().size())
                         .arg(directory, QString::fromStdString(error)));
    }
    if (!renamed.empty()) {
        notes.append(kSavedUnderOtherNames.arg(directory));
        for (const auto& [offered, used] : renamed) {
            notes.append(
                kSavedAs.arg(QString::fromStdString(offered), QString::fromStdString(used)));
        }
    }
    if (!notes.isEmpty()) {
        ShowNote(error.empty() ? QMessageBox::Information : QMessageBox::Critical,
                 notes.join('\n'));
    }
}

void AttachmentList::ShowFailure(const QString& reason) {
    ShowNote(QMessageBox::Critical, reason);
}

void AttachmentList::ShowNote(QMessageBox::Icon icon, const QString& text) {
    QMessageBox box(icon, ToQString(kApplicationTitle), text, QMessageBox::Ok, this);
    box.exec();
}

}  // namespace velmor::ui
