#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>

#include "desktop_services.h"
#include "wizard/export_run.h"

namespace velmor::ui {

inline constexpr char kExportDialogTitle[] = "Export Checked Folders";

// Asks where the checked folders go and in which formats: EML, vCard, iCalendar and CSV
// checked at first, mbox and a PST file of the mailbox on request. OK needs a directory and at
// least one format.
class CExportDialog : public QDialog {
    Q_OBJECT

public:
    explicit CExportDialog(DesktopServices& desktop, QWidget* parent = nullptr);

    ExportChoice Choice() const;
    // Shows an earlier choice: its directory and formats.
    void SetChoice(const ExportChoice& choice);

    QLineEdit* directoryBox() const { return directory_; }
    QPushButton* browseButton() const { return browse_; }
    QCheckBox* emlBox() const { return eml_; }
    QCheckBox* mboxBox() const { return mbox_; }
    QCheckBox* vcardBox() const { return vcard_; }
    QCheckBox* icalendarBox() const { return icalendar_; }
    QCheckBox* csvBox() const { return csv_; }
    QCheckBox* pstBox() const { return pst_; }
    QPushButton* okButton() const { return buttons_->button(QDialogButtonBox::Ok); }

private:
    void Browse();
    void UpdateOk();

    DesktopServices& desktop_;
    QLineEdit* directory_;
    QPushButton* browse_;
    QCheckBox* eml_;
    QCheckBox* mbox_;
    QCheckBox* vcard_;
    QCheckBox* icalendar_;
    QCheckBox* csv_;
    QCheckBox* pst_;
    QDialogButtonBox* buttons_;
};

}  // namespace velmor::ui
