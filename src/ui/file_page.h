#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>

#include "step_panel.h"
#include "wizard/streaming_path_fill.h"

namespace velmor::ui {

class DesktopServices;

inline constexpr char kFilePageInstruction[] =
    "Click the [...] button to select corrupt MS Exchange Database file (.EDB) for repairing and "
    "click the [Next] button to continue. Software will repair the corrupt .edb file and recover "
    "its respective mailboxes with email and other items.";

// The page of step 1: the path of the database to open, typed or chosen with the file dialog.
class C1FirstView : public QWidget {
    Q_OBJECT

public:
    C1FirstView(DesktopServices& desktop, QWidget* parent = nullptr);

    QString PathText() const { return pathBox_->toPlainText(); }
    QPlainTextEdit* pathBox() const { return pathBox_; }
    QPushButton* browseButton() const { return browseButton_; }
    // The optional streaming file: filled in with the .stm beside the database.
    QString StreamingPathText() const { return streamingBox_->text(); }
    QLineEdit* streamingBox() const { return streamingBox_; }
    QPushButton* streamingBrowseButton() const { return streamingBrowseButton_; }

    // Opens the file dialog; a confirmed choice replaces the path box text.
    void BrowseForDatabase();
    // Opens the file dialog of the streaming file; a confirmed choice replaces its box's text.
    void BrowseForStreamingFile();

    // Where the instruction is painted.
    QRect InstructionRect() const;

signals:
    // Enter in the path box, which takes one line only.
    void enterPressed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // Drops leading blanks and tabs and a trailing tab as soon as they appear.
    void TrimPathBox();
    // Puts the .stm beside the database into its box unless the user gave one of their own.
    void FillStreamingBox();

    DesktopServices& desktop_;
    StepPanel* stepPanel_;
    QLabel* helpIcon_;
    QPlainTextEdit* pathBox_;
    QPushButton* browseButton_;
    QLabel* streamingLabel_;
    QLineEdit* streamingBox_;
    QPushButton* streamingBrowseButton_;
    StreamingPathFill streamingFill_;
};

}  // namespace velmor::ui
