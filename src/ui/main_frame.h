#pragma once

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>

#include "back_next_view.h"
#include "desktop_services.h"
#include "file_page.h"
#include "left_view.h"
#include "mailbox_page.h"
#include "pane_stack.h"
#include "right_view.h"
#include "top_view.h"
#include "wizard/button_bar_state.h"
#include "wizard/ui_call_bridge.h"
#include "wizard/wizard_flow.h"
#include "wizard/wizard_screen.h"

namespace velmor::ui {

// The main window: its menu, the pane stack with the banner, the browse panes, the two wizard
// pages and the button bar, and the wizard that drives them. It shows and forwards; the
// decisions are the wizard's.
class CMainFrame : public QMainWindow,
                   private WizardScreen,
                   private PathValidationPort,
                   private FolderTreeEvents {
    Q_OBJECT

public:
    // desktop opens dialogs, files and web pages; executablePath locates the help document.
    CMainFrame(DesktopServices& desktop, const QString& executablePath);
    ~CMainFrame() override;

    WizardFlow& wizard() { return *flow_; }
    int wizardStep() const { return flow_->step(); }

    CTopView* banner() const { return banner_; }
    CLeftView* leftPane() const { return leftPane_; }
    CRightView* rightPane() const { return rightPane_; }
    C1FirstView* filePage() const { return filePage_; }
    C2SecondView* mailboxPage() const { return mailboxPage_; }
    CBackNextView* buttonBar() const { return buttonBar_; }
    PaneStack* paneStack() const { return stack_; }
    QAction* openAction() const { return open_; }
    QAction* saveAction() const { return save_; }
    QAction* exportAction() const { return export_; }
    QAction* exportMatchesAction() const { return exportMatches_; }
    QAction* helpAction() const { return help_; }
    QAction* findAction() const { return find_; }
    // The status bar's line that names the code page of the store's 8-bit text.
    QLabel* codePageStatus() const { return codePageStatus_; }

    // Gives the current step's row the client height less 150 pixels.
    void ShowCurrentStep() override;

    void Help();
    void ShowAbout();
    // The banner's Open button and "&Open": the file dialog, in step 1 only.
    void Open();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenu();
    void GiveNormalGeometry();
    void ConnectViews();
    void UpdateCommands();
    void ShowCodePageStatus();
    void ResizeRows(int clientHeight);
    void FocusStep();
    void Save();
    // Ctrl+F: the keyboard goes to the search box in step 3.
    void FocusSearchBox();
    // "E&xport Checked Folders...": the export dialog, then the export worker.
    void ExportCheckedFolders();
    // "Export Search &Results...": the export dialog, then the export of the matches shown.
    void ExportSearchResults();
    // What a click on Next does, while Next is shown and enabled.
    void NextByKeyboard();
    // A mail row chosen by double click or Enter: its message window.
    void OpenMessage(const QModelIndex& index);

    std::u16string DatabasePath() override;
    PathValidationPort& PathChecks() override { return *this; }
    std::u16string StreamingFilePath() override;
    void ShowMessage(const std::u16string& text, MessageIcon icon) override;
    bool AskYesNo(const std::u16string& question) override;
    void SaveItemList() override;
    void HideMainWindow() override { hide(); }
    void OpenProductWebPage() override;

    void OpenFileChooser() override;
    void ShowPathError(const std::u16string& message, bool ownedByMainWindow) override;

    void BrowseFolder(TreeItem item) override { flow_->BrowseFolder(item); }
    void CheckBoxPressed(TreeItem item) override { flow_->CheckBoxPressed(item); }

    DesktopServices& desktop_;
    QString executablePath_;
    UiCallBridge bridge_;
    ButtonBarState barState_;
    PaneStack* stack_;
    CTopView* banner_;
    CLeftView* leftPane_;
    CRightView* rightPane_;
    C1FirstView* filePage_;
    C2SecondView* mailboxPage_;
    CBackNextView* buttonBar_;
    QAction* open_ = nullptr;
    QAction* save_ = nullptr;
    QAction* export_ = nullptr;
    QAction* exportMatches_ = nullptr;
    QAction* help_ = nullptr;
    QAction* find_ = nullptr;
    QLabel* codePageStatus_ = nullptr;
    std::unique_ptr<WizardFlow> flow_;
    int focusedStep_ = 0;
    QPointer<QMessageBox> openMessage_;
    // The export dialog shows the last choice of the session again.
    ExportChoice lastExportChoice_;
};

}  // namespace velmor::ui
