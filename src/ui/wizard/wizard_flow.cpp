#include "wizard/wizard_flow.h"

#include <algorithm>

#include "browse/browse_worker.h"
#include "browse/check_propagation.h"
#include "browse/folder_kind.h"
#include "browse/folder_tie_form.h"
#include "browse/folder_tree_population.h"
#include "browse/item_columns.h"
#include "browse/message_template.h"
#include "browse/store_clearing.h"
#include "browse/tree_clearing.h"
#include "browse/tree_item_path.h"
#include "discovery/discovery_worker.h"
#include "discovery/null_progress_sink.h"
#include "discovery/store_code_page.h"
#include "edb/eight_bit_code_page.h"
#include "edb/text_codec.h"
#include "search/search_worker.h"

namespace velmor::ui {

namespace {

constexpr char16_t kStreamingFileUnreadable[] = u"The streaming file could not be read: ";

}  // namespace

WizardFlow::WizardFlow(const WizardWindows& windows, UiCallBridge& bridge)
    : windows_(windows),
      bridge_(bridge),
      uiSink_(windows.bar, windows.mailboxPage),
      workerSink_(bridge, uiSink_),
      workerWizard_(bridge, *this),
      workerTree_(bridge, windows.folderTree),
      workerList_(bridge, windows.itemList),
      workerContext_{file_, store_, workerSink_, stop_},
      workers_(bridge),
      checkPropagation_(windows.folderTree, workerTree_,
                        [this](std::function<void()> body) { workers_.Start(std::move(body)); }) {}

WizardFlow::~WizardFlow() {
    FinishWorkers();
}

// Each browse job that waited clears the stop flag when its turn comes, so the flag is asked
// for again until every worker has ended; then no stop is left for the next worker.
void WizardFlow::FinishWorkers() {
    bridge_.ServeUntil([this] {
        if (!workers_.AnyRunning()) {
            return true;
        }
        stop_.request();
        // A worker paused at a question that nobody will answer any more ends too.
        if (stop_.questionOpen()) {
            stop_.closeQuestion(true);
        }
        return false;
    });
    workers_.WaitForAll();
    stop_.clear();
}

void WizardFlow::Next() {
    switch (step_) {
        case kFileStep:
            NextOnFileStep();
            break;
        case kMailboxStep:
            NextOnMailboxStep();
            break;
        case kBrowseStep:
            windows_.screen.SaveItemList();
            break;
    }
}

void WizardFlow::Back() {
    if (step_ == kMailboxStep) {
        BackToFileStep();
    } else if (step_ == kBrowseStep) {
        BackToMailboxStep();
    }
}

void WizardFlow::Stop() {
    if (step_ == kMailboxStep) {
        StopDiscovery();
    } else if (step_ == kBrowseStep && exportJob_) {
        StopExport();
    } else if (step_ == kBrowseStep) {
        StopBrowsing();
    }
}

std::optional<MessageContent> WizardFlow::ReadMessage(const std::u16string& itemId,
                                                      const std::u16string& subject,
                                                      const std::u16string& date) {
    if (step_ != kBrowseStep || workers_.AnyRunning()) {
        return std::nullopt;
    }
    if (streaming_.open()) {
        return streaming_.Read(itemId);
    }
    NullProgressSink sink;
    StopFlag neverStopped;
    ProcessingContext context{file_, store_, sink, neverStopped};
    // The mail is a row of the folder listed last.
    const FolderViewNode* folder = store_.folderViews.FindByPath(browseJobs_.Selection().path);
    MessageContent content =
        ReadMessageContent(context, itemId, subject, date, FolderTieForm(folder));
    streaming_.UseOriginal(content, itemId);
    return content;
}

std::optional<MessageAttachments> WizardFlow::ReadAttachments(const std::u16string& itemId) {
    if (step_ != kBrowseStep || workers_.AnyRunning()) {
        return std::nullopt;
    }
    return streaming_.open() ? streaming_.Attachments(itemId)
                             : streaming_.OriginalAttachments(itemId);
}

// While an export lists folders, a click lists nothing: both would use the folders' items.
// The streaming entry's messages are carved already: they list at once.
void WizardFlow::BrowseFolder(TreeItem item) {
    if (exportJob_) {
        return;
    }
    searchShown_ = false;
    searchMatches_.clear();
    if (streaming_.open()) {
        // A search of the entry still running would list its matches after the folder.
        FinishWorkers();
        streaming_.ListFolder(item, windows_.itemList);
        return;
    }
    SelectFolderForBrowsing(windows_.folderTree, store_.folderViews, item, browseJobs_);
    workers_.Start([this] { BrowseWorker(workerContext_, workerList_, browseJobs_); });
}

bool WizardFlow::SearchAllowed() const {
    return step_ == kBrowseStep && !exportJob_ && !browseJobs_.JobRunning() &&
           windows_.bar.next.visible && windows_.bar.next.enabled;
}

void WizardFlow::Search(const std::u16string& query) {
    const std::vector<TreeItem> roots = windows_.folderTree.Children(kNoTreeItem);
    if (!SearchAllowed() || roots.empty()) {
        return;
    }
    SearchRequest request;
    request.query = Utf16ToUtf8(query);
    request.database = Utf16ToUtf8(windows_.screen.DatabasePath());
    request.mailbox = windows_.folderTree.Text(roots.front());
    streaming_.AddToSearch(request.options);
    request.streamingEntry = streaming_.EntryMessages();
    searchShown_ = true;
    searchMatches_.clear();
    workers_.Start([this, request] {
        SearchWorker(workerContext_, workerTree_, workerList_, browseJobs_, searchIndex_, request,
                     [this](std::vector<SearchMatch> matches) {
                         bridge_.Call([this, &matches] {
                             if (searchShown_) {
                                 searchMatches_ = std::move(matches);
                             }
                         });
                     });
    });
}

// The entry's matches are no folders of the store: its export writes the whole entry.
bool WizardFlow::SearchExportAllowed() const {
    return searchShown_ && !searchMatches_.empty() && SearchAllowed() && !streaming_.open();
}

void WizardFlow::ExportSearchResults(const ExportChoice& choice) {
    if (!SearchExportAllowed()) {
        return;
    }
    // The matches' folders in tree order, each with the rows found in it.
    std::map<std::u16string, std::set<int>> rowsByPath;
    for (const SearchMatch& match : searchMatches_) {
        rowsByPath[match.folderPath].insert(match.rowNumber);
    }
    std::vector<TreeItem> folders;
    ExportRows rows;
    // Depth first, children taken from the back of the stack in their own order.
    std::vector<TreeItem> pending = windows_.folderTree.Children(kNoTreeItem);
    std::reverse(pending.begin(), pending.end());
    while (!pending.empty()) {
        const TreeItem item = pending.back();
        pending.pop_back();
        if (auto found = rowsByPath.find(TreeItemPath(windows_.folderTree, item));
            found != rowsByPath.end()) {
            folders.push_back(item);
            rows.emplace(item, found->second);
        }
        const std::vector<TreeItem> children = windows_.folderTree.Children(item);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    exportJob_ = true;
    ShowBusyButtons(uiSink_);
    StartExport(std::move(folders), std::move(rows), choice);
}

void WizardFlow::StartExport(std::vector<TreeItem> folders, ExportRows rows,
                             const ExportChoice& choice) {
    workers_.Start([this, folders = std::move(folders), rows = std::move(rows), choice] {
        const ExportSummary summary = RunExport(workerContext_, workerTree_, folders, choice, rows,
                                                streaming_.RecordCompletion());
        bridge_.Call([this, &summary] {
            exportJob_ = false;
            stop_.clear();
            ShowIdleButtons(uiSink_);
            windows_.screen.ShowMessage(ExportSummaryText(summary), ExportSummaryIcon(summary));
        });
    });
}

void WizardFlow::EndSearch() {
    if (!searchShown_ || exportJob_) {
        return;
    }
    searchShown_ = false;
    searchMatches_.clear();
    if (streaming_.open()) {
        FinishWorkers();
        streaming_.ListAgain(windows_.itemList);
        return;
    }
    if (browseJobs_.Selection().path.empty()) {
        windows_.itemList.DeleteAllRows();
        SetupItemColumns(windows_.itemList, kMailFolder);
        return;
    }
    workers_.Start([this] { BrowseWorker(workerContext_, workerList_, browseJobs_); });
}

void WizardFlow::CheckBoxPressed(TreeItem item) {
    checkPropagation_.OnCheckBoxPressed(item);
}

// Next shown and enabled in step 3: no browse job runs and the tree is complete.
bool WizardFlow::ExportAllowed() const {
    return step_ == kBrowseStep && !exportJob_ && !browseJobs_.JobRunning() &&
           windows_.bar.next.visible && windows_.bar.next.enabled &&
           AnyFolderChecked(windows_.folderTree);
}

void WizardFlow::ExportCheckedFolders(const ExportChoice& choice) {
    if (!ExportAllowed()) {
        return;
    }
    exportJob_ = true;
    ShowBusyButtons(uiSink_);
    if (streaming_.open()) {
        ExportStreamingEntry(choice);
        return;
    }
    StartExport(CheckedFolders(windows_.folderTree), {}, choice);
}

bool WizardFlow::RequestClose() {
    if (exportJob_) {
        windows_.screen.ShowMessage(kExportingInProgress, MessageIcon::Information);
        return false;
    }
    if (discoveryJob_) {
        windows_.screen.ShowMessage(kRecoveryInProgress, MessageIcon::Information);
        return false;
    }
    if (browseJobs_.JobRunning()) {
        windows_.screen.ShowMessage(kDisplayingInProgress, MessageIcon::Information);
        return false;
    }
    if (!windows_.screen.AskYesNo(kCloseQuestion)) {
        return false;
    }
    windows_.screen.HideMainWindow();
    windows_.screen.OpenProductWebPage();
    // Store clearing, tree population and clearing, check propagation and browse jobs still
    // queued all use the store or the tree: they end before the store is cleared.
    FinishWorkers();
    store_.ResetStore();
    store_.folderViews.Clear();
    DeleteMessageTemplate();
    return true;
}

// The streaming entry's row follows the mailboxes once the discovery has listed some; this
// runs on this thread while the worker waits.
void WizardFlow::ClearDiscoveryJob() {
    if (discoveryJob_ && store_.listedMailboxCount > 0) {
        streaming_.AddRow(windows_.mailboxPage);
        if (const auto unreadable = streaming_.UnreadableFile()) {
            windows_.screen.ShowMessage(
                kStreamingFileUnreadable + Utf8ToUtf16(unreadable->string()), MessageIcon::Warning);
        }
    }
    discoveryJob_ = false;
}

void WizardFlow::ShowMessage(const std::u16string& text) {
    windows_.screen.ShowMessage(text, MessageIcon::None);
}

void WizardFlow::GoToStep(int step) {
    step_ = step;
    windows_.screen.ShowCurrentStep();
}

void WizardFlow::NextOnFileStep() {
    uiSink_.EnableButton(WizardButton::Next, false);
    if (!ValidateDatabasePath(file_, windows_.screen.DatabasePath(),
                              windows_.screen.PathChecks())) {
        uiSink_.EnableButton(WizardButton::Next, true);
        return;
    }
    streaming_.Choose(windows_.screen.StreamingFilePath());
    GoToStep(kMailboxStep);
    ShowBusyButtons(uiSink_);
    uiSink_.EnableButton(WizardButton::Stop, false);
    uiSink_.EnableButton(WizardButton::Next, true);
    StartDiscovery();
}

void WizardFlow::NextOnMailboxStep() {
    if (windows_.mailboxPage.SelectedCount() == 0 || windows_.mailboxPage.SelectionMark() < 0) {
        windows_.screen.ShowMessage(kPleaseSelectUser, MessageIcon::Warning);
        windows_.screen.ShowCurrentStep();
        return;
    }
    uiSink_.SetNextCaption(kSaveCaption);
    windows_.itemList.DeleteAllRows();
    SetupItemColumns(windows_.itemList, kMailFolder);
    if (streaming_.IsEntryRow(windows_.mailboxPage.SelectionMark())) {
        OpenStreamingEntry();
        return;
    }
    StartTreePopulation();
    GoToStep(kBrowseStep);
}

// The entry's tree is two items: it is shown at once, without a worker.
void WizardFlow::OpenStreamingEntry() {
    streaming_.ShowTree(windows_.folderTree);
    GoToStep(kBrowseStep);
    uiSink_.EnableButton(WizardButton::Back, true);
    uiSink_.EnableButton(WizardButton::Next, true);
}

void WizardFlow::ExportStreamingEntry(const ExportChoice& choice) {
    workers_.Start([this, choice] {
        ExportSummary summary;
        summary.directory = choice.directory;
        summary.pstChosen = choice.formats.pst;
        const RecoveredExportResult result = streaming_.Export(
            choice.directory, choice.formats, &file_, [this] { return stop_.requested(); });
        summary.items = result.written;
        summary.stopped = result.stopped;
        if (result.pst) {
            summary.pstFile = *result.pst;
        }
        if (result.stopped) {
            summary.stoppedFolder = kStreamingEntryName;
        } else if (!result.error.empty()) {
            summary.failures.emplace_back(kStreamingEntryName, result.error);
        } else {
            summary.folders = 1;
        }
        bridge_.Call([this, &summary] {
            exportJob_ = false;
            stop_.clear();
            ShowIdleButtons(uiSink_);
            windows_.screen.ShowMessage(ExportSummaryText(summary), ExportSummaryIcon(summary));
        });
    });
}

// Workers that are still finishing (a discovery past its last stop test, a tree clearing, a
// browse job queued behind one that ended) end before the store or the tree is cleared.
void WizardFlow::BackToFileStep() {
    FinishWorkers();
    streaming_.Reset();
    uiSink_.HideButton(WizardButton::Back);
    GoToStep(kFileStep);
    uiSink_.EnableButton(WizardButton::Next, false);
    StartStoreClearing();
}

void WizardFlow::BackToMailboxStep() {
    FinishWorkers();
    streaming_.Close();
    searchShown_ = false;
    searchMatches_.clear();
    GoToStep(kMailboxStep);
    uiSink_.EnableButton(WizardButton::Next, false);
    StartTreeClearing();
    uiSink_.SetNextCaption(kNextCaption);
}

// Instead of suspending the worker, the open question pauses it at its next stop test.
void WizardFlow::StopDiscovery() {
    if (discoveryJob_) {
        stop_.openQuestion();
    }
    const bool yes = windows_.screen.AskYesNo(kStopRecoveryQuestion);
    const bool stopping = yes && discoveryJob_;
    if (stop_.questionOpen()) {
        stop_.closeQuestion(stopping);
    }
    if (!stopping || windows_.mailboxPage.RowCount() > 0) {
        return;
    }
    GoToStep(kFileStep);
    uiSink_.HideButton(WizardButton::Back);
}

void WizardFlow::StopBrowsing() {
    if (!browseJobs_.JobRunning()) {
        return;
    }
    stop_.openQuestion();
    const bool yes = windows_.screen.AskYesNo(kStopDisplayingQuestion);
    const bool stopping = yes && browseJobs_.JobRunning();
    stop_.closeQuestion(stopping);
    // A job that ended while the question was open has already cleared the flag; a stop
    // meant for it must not stay behind for the next worker.
    if (stopping && !browseJobs_.JobRunning()) {
        stop_.clear();
    }
}

void WizardFlow::ChooseCodePage(std::optional<int> chosen) {
    ChooseEightBitCodePage(chosen);
    if (step_ != kMailboxStep || discoveryJob_ || storeClearingJob_ || store_.mailboxes.empty()) {
        return;
    }
    ProcessingContext context{file_, store_, uiSink_, stop_};
    SettleStoreCodePage(context);
    codePageChosen_ = chosen.has_value();
}

// The export ends at its next stop test.
void WizardFlow::StopExport() {
    stop_.openQuestion();
    const bool yes = windows_.screen.AskYesNo(kStopExportQuestion);
    stop_.closeQuestion(yes && exportJob_);
}

void WizardFlow::StartDiscovery() {
    discoveryJob_ = true;
    codePageChosen_ = ChosenEightBitCodePage().has_value();
    workers_.Start([this] {
        DiscoveryWorker(workerContext_, workerWizard_, [this] {
            streaming_.Carve(workerContext_);
            streaming_.Match(workerContext_);
        });
        // A worker that finds the stop flag set at its start ends without clearing its job.
        workerWizard_.ClearDiscoveryJob();
    });
}

void WizardFlow::StartStoreClearing() {
    storeClearingJob_ = true;
    workers_.Start([this] {
        ClearStore(workerContext_);
        bridge_.Call([this] { storeClearingJob_ = false; });
    });
}

// The worker reads the mailbox label from the list itself, as the population always has.
void WizardFlow::StartTreePopulation() {
    workers_.Start([this] {
        const std::u16string label = bridge_.Get<std::u16string>(
            [this] { return windows_.mailboxPage.RowName(windows_.mailboxPage.SelectionMark()); });
        PopulateFolderTree(workerTree_, store_, workerSink_, label);
    });
}

void WizardFlow::StartTreeClearing() {
    workers_.Start([this] { ClearFolderTree(workerTree_, store_, workerSink_); });
}

}  // namespace velmor::ui
