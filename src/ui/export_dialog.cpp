#include "export_dialog.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "qt_text.h"

namespace velmor::ui {

namespace {

QCheckBox* FormatBox(const char* text, bool checked, QLayout* layout) {
    auto* box = new QCheckBox(text);
    box->setChecked(checked);
    layout->addWidget(box);
    return box;
}

}  // namespace

CExportDialog::CExportDialog(DesktopServices& desktop, QWidget* parent)
    : QDialog(parent),
      desktop_(desktop),
      directory_(new QLineEdit),
      browse_(new QPushButton("&Browse...")),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel)) {
    setWindowTitle(kExportDialogTitle);
    auto* where = new QHBoxLayout;
    where->addWidget(directory_, 1);
    where->addWidget(browse_);
    auto* formats = new QVBoxLayout;
    const ExportFormats defaults;
    eml_ = FormatBox("&EML messages, one file per mail", defaults.eml, formats);
    mbox_ = FormatBox("&mbox, one file per mail folder", defaults.mbox, formats);
    vcard_ = FormatBox("&vCard address book of each contact folder", defaults.vcard, formats);
    icalendar_ = FormatBox("&iCalendar file of each calendar, task, note and journal folder",
                           defaults.icalendar, formats);
    csv_ = FormatBox("&CSV list of each folder, as shown", defaults.csv, formats);
    pst_ = FormatBox("&PST file of the mailbox, for mail programs", defaults.pst, formats);
    auto* form = new QFormLayout;
    auto* directoryLabel = new QLabel("&Output directory:");
    directoryLabel->setBuddy(directory_);
    form->addRow(directoryLabel, where);
    form->addRow("Formats:", formats);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons_);
    directory_->setMinimumWidth(360);

    connect(browse_, &QPushButton::clicked, this, &CExportDialog::Browse);
    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(directory_, &QLineEdit::textChanged, this, &CExportDialog::UpdateOk);
    for (QCheckBox* box : {eml_, mbox_, vcard_, icalendar_, csv_, pst_}) {
        connect(box, &QCheckBox::toggled, this, &CExportDialog::UpdateOk);
    }
    UpdateOk();
}

ExportChoice CExportDialog::Choice() const {
    ExportChoice choice;
    choice.directory = ToU16(directory_->text().trimmed());
    choice.formats = {eml_->isChecked(),       mbox_->isChecked(), vcard_->isChecked(),
                      icalendar_->isChecked(), csv_->isChecked(),  pst_->isChecked()};
    return choice;
}

void CExportDialog::SetChoice(const ExportChoice& choice) {
    directory_->setText(QString::fromStdU16String(choice.directory.u16string()));
    const ExportFormats& formats = choice.formats;
    eml_->setChecked(formats.eml);
    mbox_->setChecked(formats.mbox);
    vcard_->setChecked(formats.vcard);
    icalendar_->setChecked(formats.icalendar);
    csv_->setChecked(formats.csv);
    pst_->setChecked(formats.pst);
}

void CExportDialog::Browse() {
    const QString directory = desktop_.ChooseDirectory(this);
    if (!directory.isEmpty()) {
        directory_->setText(directory);
    }
}

void CExportDialog::UpdateOk() {
    bool anyFormat = false;
    for (QCheckBox* box : {eml_, mbox_, vcard_, icalendar_, csv_, pst_}) {
        anyFormat |= box->isChecked();
    }
    okButton()->setEnabled(anyFormat && !directory_->text().trimmed().isEmpty());
}

}  // namespace velmor::ui
