#pragma once

#include <optional>

#include "browse/browse_job_state.h"
#include "browse/check_propagation.h"
#include "browse/folder_tree.h"
#include "browse/item_list.h"
#include "browse/message_content.h"
#include "discovery/processing_context.h"
#include "discovery/wizard_port.h"
#include "search/search_index.h"
#include "wizard/button_bar_state.h"
#include "wizard/export_run.h"
#include "wizard/mailbox_page_port.h"
#include "wizard/marshalled_folder_tree.h"
#include "wizard/marshalled_item_list.h"
#include "wizard/marshalled_progress_sink.h"
#include "wizard/marshalled_wizard_port.h"
#include "wizard/message_attachments.h"
#include "wizard/shown_item_list.h"
#include "wizard/streaming_entry_flow.h"
#include "wizard/ui_progress_sink.h"
#include "wizard/wizard_screen.h"
#include "wizard/worker_threads.h"

namespace velmor::ui {

inline constexpr char16_t kPleaseSelectUser[] = u"Please Select User";
inline constexpr char16_t kStopRecoveryQuestion[] = u"Do you want to Stop the Recovery Process ?";
inline constexpr char16_t kStopDisplayingQuestion[] =
    u"Do you want to Stop the Displaying Process ?";
inline constexpr char16_t kStopExportQuestion[] = u"Do you want to Stop the Export ?";
inline constexpr char16_t kRecoveryInProgress[] =
    u"Recovery is in Progress.Please Stop the Process to close the Application";
inline constexpr char16_t kDisplayingInProgress[] =
    u"Displaying Items is in Progress.Please Stop the Process to close the Application";
inline constexpr char16_t kCloseQuestion[] = u"Do you want to Close the Application ?";

enum WizardStepNumber { kFileStep = 1, kMailboxStep = 2, kBrowseStep = 3 };

// The windows the wizard drives, as seen from the user-interface thread.
struct WizardWindows {
    WizardScreen& screen;
    ButtonBarState& bar;
    MailboxPagePort& mailboxPage;
    FolderTree& folderTree;
    ShownItemList& itemList;
};

// The three-step wizard without its windows: the step number, what Next, Back and Stop do in
// each step, the workers they start, the folder tree's clicks, and whether the program may
// close. It owns the open database and the recovered store. Everything here runs on the
// user-interface thread; the workers reach the windows through the call bridge.
class WizardFlow : private WizardPort {
public:
    WizardFlow(const WizardWindows& windows, UiCallBridge& bridge);
    // Asks running workers to stop and waits for every one.
    ~WizardFlow() override;
    WizardFlow(const WizardFlow&) = delete;
    WizardFlow& operator=(const WizardFlow&) = delete;

    int step() const { return step_; }

    void Next();
    void Back();
    void Stop();

    // A folder chosen in the tree by mouse or keyboard: a browse job lists it.
    void BrowseFolder(TreeItem item);
    // The left button went down on a check box, before the box toggled.
    void CheckBoxPressed(TreeItem item);

    // Writes the checked folders as files on a worker; the message at its end tells what was
    // written. Only while ExportAllowed.
    void ExportCheckedFolders(const ExportChoice& choice);
    // In step 3, with at least one folder checked, the tree complete and no job running.
    bool ExportAllowed() const;
    bool exportJob() const { return exportJob_; }

    // Lists the items of the mailbox that the query finds, across its folders, as a browse job
    // does; the first search of a mailbox opens or builds its index. Only while SearchAllowed.
    void Search(const std::u16string& query);
    // In step 3 with the tree complete and no job running, as for an export.
    bool SearchAllowed() const;
    // Lists the selected folder again in place of the matches.
    void EndSearch();
    // Whether the item list shows matches rather than a folder.
    bool searchShown() const { return searchShown_; }
    // Writes the items found by the search shown as the export of their folders would; only
    // while SearchExportAllowed.
    void ExportSearchResults(const ExportChoice& choice);
    // While matches are shown, as SearchAllowed.
    bool SearchExportAllowed() const;

    // The close rules: false keeps the window open. True after a confirmed close, when the
    // store is clear and the message template is gone: the window may be destroyed.
    bool RequestClose();

    // "&Open" and the banner's Open button act only in step 1.
    bool OpenAllowed() const { return step_ == kFileStep; }
    // "&Save" acts only in step 3 while the Next button ("Save") is shown.
    bool SaveAllowed() const { return step_ == kBrowseStep && windows_.bar.next.visible; }

    bool discoveryJob() const { return discoveryJob_; }
    bool storeClearingJob() const { return storeClearingJob_; }
    bool browseJob() const { return browseJobs_.JobRunning(); }

    // The headers and body of a listed mail, read on this thread; nothing outside step 3 or
    // while a worker runs, since workers and this thread never share the database.
    std::optional<MessageContent> ReadMessage(const std::u16string& itemId,
                                              const std::u16string& subject,
                                              const std::u16string& date);
    // The attachments of a listed mail, when it has a MIME form (the streaming file's
    // messages and the mails they match); read on this thread under the same rules as
    // ReadMessage.
    std::optional<MessageAttachments> ReadAttachments(const std::u16string& itemId);

    // The code page the user chose for the store's 8-bit text (nothing: detect it). In step 2,
    // once the discovery has ended, the names are read again in it at once; elsewhere it holds
    // from the next discovery on.
    void ChooseCodePage(std::optional<int> chosen);
    // Whether the store's code page (store().codePage) was chosen rather than detected.
    bool codePageChosen() const { return codePageChosen_; }

    const EdbFile& database() const { return file_; }
    RecoveredStore& store() { return store_; }
    StopFlag& stopFlag() { return stop_; }
    WorkerThreads& workers() { return workers_; }

private:
    int WizardStep() const override { return step_; }
    void SetWizardStep(int step) override { step_ = step; }
    void NotifyStepChanged() override { windows_.screen.ShowCurrentStep(); }
    void ShowMessage(const std::u16string& text) override;
    void ClearDiscoveryJob() override;

    void GoToStep(int step);
    void NextOnFileStep();
    void NextOnMailboxStep();
    void BackToFileStep();
    void BackToMailboxStep();
    void StopDiscovery();
    void StopBrowsing();
    void StopExport();
    void StartDiscovery();
    void StartStoreClearing();
    void StartTreePopulation();
    void StartTreeClearing();
    void OpenStreamingEntry();
    void ExportStreamingEntry(const ExportChoice& choice);
    // Exports folders (of those that rows names, only those rows) on a worker and shows the
    // summary when it ends.
    void StartExport(std::vector<TreeItem> folders, ExportRows rows, const ExportChoice& choice);
    void FinishWorkers();

    WizardWindows windows_;
    UiCallBridge& bridge_;

    int step_ = kFileStep;
    bool discoveryJob_ = false;
    bool storeClearingJob_ = false;
    bool exportJob_ = false;
    bool searchShown_ = false;
    bool codePageChosen_ = false;

    EdbFile file_;
    RecoveredStore store_;
    StopFlag stop_;
    BrowseJobState browseJobs_;
    UiProgressSink uiSink_;
    MarshalledProgressSink workerSink_;
    MarshalledWizardPort workerWizard_;
    MarshalledFolderTree workerTree_;
    MarshalledItemList workerList_;
    ProcessingContext workerContext_;
    WorkerThreads workers_;
    CheckPropagation checkPropagation_;
    StreamingEntryFlow streaming_;
    // Used by search jobs only, which run one at a time.
    SearchIndex searchIndex_;
    // The matches the list shows.
    std::vector<SearchMatch> searchMatches_;
};

}  // namespace velmor::ui
