#include "main_frame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QStyle>

#include "about_dialog.h"
#include "attachment_list.h"
#include "code_page_menu.h"
#include "discovery/wizard_port.h"
#include "export/csv_writer.h"
#include "export_dialog.h"
#include "message_window.h"
#include "pictures.h"
#include "qt_text.h"
#include "shell/help_document.h"
#include "shell/product_web_page.h"
#include "wizard/code_page_choice.h"

namespace velmor::ui {

namespace {

// The help message takes the window's caption, cut to this length.
constexpr int kLongestMessageCaption = 200;
const QString kExportMatchesTitle = "Export Search Results";
const QString kItemsSaveFailed = "The items could not be saved to %1";
const QString kSaveStoppedListing = "Save these items only?";
const QString kSaveOverDatabase = "The items cannot be saved over the database being read: %1";
const QString kHelpNotOpened = "The help document could not be opened: %1";
const QString kWebPageNotOpened = "The web page could not be opened: %1";
// Share of the screen's free area that the restored window takes, centred.
constexpr double kNormalWindowShare = 0.8;

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Information:
            return QMessageBox::Information;
        case MessageIcon::Warning:
            return QMessageBox::Warning;
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

void ShowBox(QMessageBox::Icon icon, const QString& caption, const QString& text, QWidget* owner) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace

CMainFrame::CMainFrame(DesktopServices& desktop, const QString& executablePath)
    : desktop_(desktop),
      executablePath_(executablePath),
      stack_(new PaneStack(this)),
      banner_(new CTopView),
      leftPane_(new CLeftView),
      rightPane_(new CRightView),
      filePage_(new C1FirstView(desktop)),
      mailboxPage_(new C2SecondView),
      buttonBar_(new CBackNextView(barState_)) {
    setWindowTitle(ToQString(kApplicationTitle));
    setWindowIcon(QIcon(Picture("application-icon")));
    setCentralWidget(stack_);
    stack_->SetRows(banner_, leftPane_, rightPane_, filePage_, mailboxPage_, buttonBar_);

    flow_ = std::make_unique<WizardFlow>(
        WizardWindows{*this, barState_, *mailboxPage_, *leftPane_->folderTree(),
                      *rightPane_->itemList()},
        bridge_);
    bridge_.SetWakeUp([this] {
        QMetaObject::invokeMethod(
            this, [this] { bridge_.Serve(); }, Qt::QueuedConnection);
    });
    leftPane_->folderTree()->SetEvents(this);

    codePageStatus_ = new QLabel(statusBar());
    statusBar()->addPermanentWidget(codePageStatus_, 1);
    BuildMenu();
    ConnectViews();
    ShowCurrentStep();
    GiveNormalGeometry();
}

// The window opens maximised; restored, it takes most of the screen, centred, so that every
// control is in view.
void CMainFrame::GiveNormalGeometry() {
    const QRect available = screen()->availableGeometry();
    const QSize size(static_cast<int>(available.width() * kNormalWindowShare),
                     static_cast<int>(available.height() * kNormalWindowShare));
    setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available));
}

// The wizard waits for its workers while the views they write to still exist.
// The workers that end meanwhile still change the bar and the tree: those changes no longer
// reach the window's commands.
CMainFrame::~CMainFrame() {
    leftPane_->folderTree()->SetEvents(nullptr);
    buttonBar_->disconnect(this);
    leftPane_->folderTree()->disconnect(this);
    flow_.reset();
}

void CMainFrame::BuildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    open_ = file->addAction("&Open", QKeySequence::Open, this, &CMainFrame::Open);
    save_ = file->addAction("&Save", QKeySequence::Save, this, &CMainFrame::Save);
    export_ = file->addAction("&Export Checked Folders...", QKeySequence(Qt::CTRL | Qt::Key_E),
                              this, &CMainFrame::ExportCheckedFolders);
    exportMatches_ =
        file->addAction("Export Search &Results...", this, &CMainFrame::ExportSearchResults);
    file->addSeparator();
    file->addAction("E&xit", this, &QWidget::close);
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommands);

    auto* codePages = new CodePageMenu(this);
    menuBar()->addMenu(codePages);
    connect(codePages, &CodePageMenu::chosen, this, [this](std::optional<int> codePage) {
        flow_->ChooseCodePage(codePage);
        UpdateCommands();
    });

    // Ctrl+F goes to the search box; the menus stay as they are.
    find_ = new QAction(this);
    find_->setShortcut(QKeySequence::Find);
    connect(find_, &QAction::triggered, this, &CMainFrame::FocusSearchBox);
    addAction(find_);

    QMenu* helpMenu = menuBar()->addMenu("&Help");
    help_ = helpMenu->addAction("Help", QKeySequence(Qt::Key_F1), this, &CMainFrame::Help);
    helpMenu->addAction("Visit Software URL", this, &CMainFrame::OpenProductWebPage);
    helpMenu->addAction("&About Velmor for Exchange Server...", this, &CMainFrame::ShowAbout);
}

void CMainFrame::ConnectViews() {
    connect(buttonBar_, &CBackNextView::nextClicked, this, [this] { flow_->Next(); });
    connect(buttonBar_, &CBackNextView::backClicked, this, [this] { flow_->Back(); });
    connect(buttonBar_, &CBackNextView::stopClicked, this, [this] { flow_->Stop(); });
    connect(buttonBar_, &CBackNextView::refreshed, this, &CMainFrame::UpdateCommands);
    connect(banner_, &CTopView::openClicked, this, &CMainFrame::Open);
    connect(banner_, &CTopView::helpClicked, this, &CMainFrame::Help);
    connect(banner_, &CTopView::aboutClicked, this, &CMainFrame::ShowAbout);
    connect(stack_, &PaneStack::resized, this, &CMainFrame::ResizeRows);
    // A check box that changes may make the export possible or impossible.
    connect(leftPane_->folderTree(), &QTreeWidget::itemChanged, this, &CMainFrame::UpdateCommands);
    connect(rightPane_->itemView(), &QAbstractItemView::activated, this, &CMainFrame::OpenMessage);
    connect(rightPane_, &CRightView::searchRequested, this, [this](const QString& query) {
        flow_->Search(ToU16(query));
        UpdateCommands();
    });
    connect(rightPane_, &CRightView::searchCleared, this, [this] {
        flow_->EndSearch();
        UpdateCommands();
    });
    // Enter in the path box, and Enter or a double click on a mailbox, go on as Next does.
    connect(filePage_, &C1FirstView::enterPressed, this, &CMainFrame::NextByKeyboard);
    connect(mailboxPage_->mailboxList(), &QAbstractItemView::activated, this,
            &CMainFrame::NextByKeyboard);
}

void CMainFrame::NextByKeyboard() {
    QPushButton* next = buttonBar_->nextButton();
    if (next->isVisible() && next->isEnabled()) {
        flow_->Next();
    }
}

void CMainFrame::OpenMessage(const QModelIndex& index) {
    // Cells of a mail row: number, addressee, subject, date.
    constexpr int kSubjectCell = 2;
    constexpr int kDateCell = 3;
    const ItemListModel* list = rightPane_->itemList();
    const std::u16string itemId = list->RowItemId(index.row());
    const QStringList cells = list->RowTexts(index.row());
    if (itemId.empty() || cells.size() <= kDateCell) {
        return;
    }
    // The first message of a database also indexes its long values, which takes a moment on
    // a large store.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    auto message = flow_->ReadMessage(itemId, cells[kSubjectCell].toStdU16String(),
                                      cells[kDateCell].toStdU16String());
    QApplication::restoreOverrideCursor();
    // A mail whose record names no sender (a draft, say) shows whom the list shows.
    constexpr int kAddresseeCell = 1;
    if (message && message->from.empty() && list->Headings().value(kAddresseeCell) == "From") {
        message->from = cells[kAddresseeCell].toStdU16String();
    }
    if (!message) {
        return;
    }
    auto* window = new MessageWindow(*message, this);
    // A mail kept in its MIME form lists its attachments, when it has any, below its body.
    if (auto attachments = flow_->ReadAttachments(itemId);
        attachments && !attachments->list().empty()) {
        window->layout()->addWidget(
            new AttachmentList(std::move(*attachments), desktop_, &flow_->database(), window));
    }
    window->show();
}

void CMainFrame::FocusSearchBox() {
    if (flow_->step() == kBrowseStep) {
        rightPane_->searchBox()->setFocus();
        rightPane_->searchBox()->selectAll();
    }
}

void CMainFrame::UpdateCommands() {
    open_->setEnabled(flow_->OpenAllowed());
    find_->setEnabled(flow_->step() == kBrowseStep);
    save_->setEnabled(flow_->SaveAllowed());
    export_->setEnabled(flow_->ExportAllowed());
    exportMatches_->setEnabled(flow_->SearchExportAllowed());
    ShowCodePageStatus();
}

// Once a discovery has found mailboxes, the status line tells which code page their 8-bit
// text is read in. It is a permanent part of the status bar, which the menus' status tips
// do not blank.
void CMainFrame::ShowCodePageStatus() {
    const bool discovered =
        flow_->step() != kFileStep && !flow_->discoveryJob() && !flow_->store().mailboxes.empty();
    const QString status =
        discovered ? ToQString(CodePageStatus(flow_->store().codePage, flow_->codePageChosen()))
                   : QString();
    if (codePageStatus_->text() != status) {
        codePageStatus_->setText(status);
    }
}

void CMainFrame::ShowCurrentStep() {
    RowHeights heights{};
    if (StepRowHeights(flow_->step(), stack_->height(), heights)) {
        stack_->SetRowHeights(heights);
    }
    if (flow_->step() != focusedStep_) {
        FocusStep();
    }
    UpdateCommands();
}

// A new step puts the keyboard into its page: the path box, the mailbox list or the tree.
void CMainFrame::FocusStep() {
    focusedStep_ = flow_->step();
    // A query belongs to the mailbox it searched: another mailbox or store starts without one.
    if (focusedStep_ != kBrowseStep) {
        const QSignalBlocker quiet(rightPane_->searchBox());
        rightPane_->searchBox()->clear();
    }
    switch (focusedStep_) {
        case kFileStep:
            filePage_->pathBox()->setFocus();
            break;
        case kMailboxStep:
            mailboxPage_->mailboxList()->setFocus();
            break;
        case kBrowseStep:
            leftPane_->folderTree()->setFocus();
            break;
    }
}

// Heights of 150 pixels or less keep the rows as they were.
void CMainFrame::ResizeRows(int clientHeight) {
    if (clientHeight >= kSmallestStepLayoutHeight) {
        ShowCurrentStep();
    }
}

void CMainFrame::Help() {
    const QString document =
        QString::fromStdString(HelpDocumentPath(executablePath_.toStdString()).string());
    if (!QFileInfo(document).isFile()) {
        ShowBox(QMessageBox::NoIcon, windowTitle().left(kLongestMessageCaption),
                ToQString(kHelpFileNotFound), this);
        return;
    }
    if (!desktop_.OpenWithDefaultHandler(QUrl::fromLocalFile(document))) {
        ShowBox(QMessageBox::NoIcon, ToQString(kApplicationTitle), kHelpNotOpened.arg(document),
                this);
    }
}

void CMainFrame::ShowAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CMainFrame::Open() {
    if (flow_->OpenAllowed()) {
        filePage_->BrowseForDatabase();
    }
}

void CMainFrame::Save() {
    if (flow_->SaveAllowed()) {
        SaveItemList();
    }
}

void CMainFrame::ExportCheckedFolders() {
    if (!flow_->ExportAllowed()) {
        return;
    }
    CExportDialog dialog(desktop_, this);
    dialog.SetChoice(lastExportChoice_);
    if (dialog.exec() == QDialog::Accepted) {
        lastExportChoice_ = dialog.Choice();
        flow_->ExportCheckedFolders(lastExportChoice_);
        UpdateCommands();
    }
}

void CMainFrame::ExportSearchResults() {
    if (!flow_->SearchExportAllowed()) {
        return;
    }
    CExportDialog dialog(desktop_, this);
    dialog.setWindowTitle(kExportMatchesTitle);
    dialog.SetChoice(lastExportChoice_);
    if (dialog.exec() == QDialog::Accepted) {
        lastExportChoice_ = dialog.Choice();
        flow_->ExportSearchResults(lastExportChoice_);
        UpdateCommands();
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (flow_->RequestClose()) {
        event->accept();
    } else {
        event->ignore();
    }
}

std::u16string CMainFrame::DatabasePath() {
    return ToU16(filePage_->PathText());
}

std::u16string CMainFrame::StreamingFilePath() {
    return ToU16(filePage_->StreamingPathText().trimmed());
}

// A new message replaces one still open (a refusal to close, say, that the end of the job
// has made moot), so that no stale box waits behind it.
void CMainFrame::ShowMessage(const std::u16string& text, MessageIcon icon) {
    if (openMessage_) {
        openMessage_->done(QMessageBox::Ok);
    }
    QMessageBox box(ToQt(icon), ToQString(kApplicationTitle), ToQString(text), QMessageBox::Ok,
                    this);
    openMessage_ = &box;
    box.exec();
}

bool CMainFrame::AskYesNo(const std::u16string& question) {
    QMessageBox box(QMessageBox::Question, ToQString(kApplicationTitle), ToQString(question),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void CMainFrame::SaveItemList() {
    const ItemListModel& shown = *rightPane_->itemList();
    if (shown.stopped() &&
        !AskYesNo(ToU16(StoppedListingNote(shown.rowCount()) + ". " + kSaveStoppedListing))) {
        return;
    }
    const QString path = desktop_.ChooseSaveFile(this);
    if (path.isEmpty()) {
        return;
    }
    if (flow_->database().HoldsFile(path.toStdString())) {
        ShowBox(QMessageBox::Critical, ToQString(kApplicationTitle), kSaveOverDatabase.arg(path),
                this);
        return;
    }
    const ItemListModel& list = *rightPane_->itemList();
    CsvRow headings;
    for (const QString& heading : list.Headings()) {
        headings.push_back(ToU16(heading));
    }
    std::vector<CsvRow> rows;
    rows.reserve(static_cast<size_t>(list.rowCount()));
    for (int row = 0; row < list.rowCount(); ++row) {
        CsvRow& texts = rows.emplace_back();
        for (const QString& text : list.RowTexts(row)) {
            texts.push_back(ToU16(text));
        }
    }
    if (!WriteCsvFile(path.toStdString(), headings, rows)) {
        ShowBox(QMessageBox::Critical, ToQString(kApplicationTitle), kItemsSaveFailed.arg(path),
                this);
    }
}

// At the end of a close the window is hidden already: the box then stands alone.
void CMainFrame::OpenProductWebPage() {
    if (!desktop_.OpenWithDefaultHandler(QUrl(kProductWebPage))) {
        ShowBox(QMessageBox::NoIcon, ToQString(kApplicationTitle),
                kWebPageNotOpened.arg(QString(kProductWebPage)), isVisible() ? this : nullptr);
    }
}

void CMainFrame::OpenFileChooser() {
    filePage_->BrowseForDatabase();
}

void CMainFrame::ShowPathError(const std::u16string& message, bool ownedByMainWindow) {
    ShowBox(QMessageBox::Critical, ToQString(kApplicationTitle), ToQString(message),
            ownedByMainWindow ? this : nullptr);
}

}  // namespace velmor::ui
