#pragma once

#include <QDialog>

namespace velmor::ui {

inline constexpr char kAboutTitle[] = "About Velmor for Exchange Server";

// The About box: the banner picture, the application icon, a few lines about the program and
// an OK button, on cream.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace velmor::ui
