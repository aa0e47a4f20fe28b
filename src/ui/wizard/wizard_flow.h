#pragma once

#include "discovery/processing_context.h"
#include "discovery/wizard_port.h"
#include "wizard/button_bar_state.h"
#include "wizard/mailbox_page_port.h"
#include "wizard/marshalled_progress_sink.h"
#include "wizard/marshalled_wizard_port.h"
#include "wizard/ui_progress_sink.h"
#include "wizard/wizard_screen.h"
#include "wizard/worker_threads.h"

namespace velmor::ui {

inline constexpr char16_t kPleaseSelectUser[] = u"Please Select User";
inline constexpr char16_t kStopRecoveryQuestion[] = u"Do you want to Stop the Recovery Process ?";
inline constexpr char16_t kStopDisplayingQuestion[] =
    u"Do you want to Stop the Displaying Process ?";
inline constexpr char16_t kRecoveryInProgress[] =
    u"Recovery is in Progress.Please Stop the Process to close the Application";
inline constexpr char16_t kDisplayingInProgress[] =
    u"Displaying Items is in Progress.Please Stop the Process to close the Application";
inline constexpr char16_t kCloseQuestion[] = u"Do you want to Close the Application ?";

enum WizardStepNumber { kFileStep = 1, kMailboxStep = 2, kBrowseStep = 3 };

// The three-step wizard without its windows: the step number, what Next, Back and Stop do in
// each step, the workers they start, and whether the program may close. It owns the open
// database and the recovered store. Everything here runs on the user-interface thread; the
// workers reach it through the call bridge.
class WizardFlow : private WizardPort {
public:
    WizardFlow(WizardScreen& screen, ButtonBarState& bar, MailboxPagePort& mailboxPage,
               UiCallBridge& bridge);
    // Asks a running worker to stop and waits for every worker.
    ~WizardFlow() override;
    WizardFlow(const WizardFlow&) = delete;
    WizardFlow& operator=(const WizardFlow&) = delete;

    int step() const { return step_; }

    void Next();
    void Back();
    void Stop();

    // The close rules: false keeps the window open. True after a confirmed close, when the
    // store is clear and the message template is gone: the window may be destroyed.
    bool RequestClose();

    // "&Open" and the banner's Open button act only in step 1.
    bool OpenAllowed() const { return step_ == kFileStep; }
    // "&Save" acts only in step 3 while the Next button ("Save") is shown.
    bool SaveAllowed() const { return step_ == kBrowseStep && bar_.next.visible; }

    bool discoveryJob() const { return discoveryJob_; }
    bool storeClearingJob() const { return storeClearingJob_; }

    // The operations of the windows, applied on the user-interface thread.
    UiProgressSink& uiSink() { return uiSink_; }
    RecoveredStore& store() { return store_; }
    StopFlag& stopFlag() { return stop_; }
    WorkerThreads& workers() { return workers_; }

private:
    int WizardStep() const override { return step_; }
    void SetWizardStep(int step) override { step_ = step; }
    void NotifyStepChanged() override { screen_.ShowCurrentStep(); }
    void ShowMessage(const std::u16string& text) override;
    void ClearDiscoveryJob() override { discoveryJob_ = false; }

    void GoToStep(int step);
    void NextOnFileStep();
    void NextOnMailboxStep();
    void BackToFileStep();
    void StopDiscovery();
    void StartDiscovery();
    void StartStoreClearing();
    // Empties the mailbox list and the store and closes the database; on a worker.
    void ClearStore(ProgressSink& sink);

    WizardScreen& screen_;
    ButtonBarState& bar_;
    MailboxPagePort& mailboxPage_;
    UiCallBridge& bridge_;

    int step_ = kFileStep;
    bool discoveryJob_ = false;
    bool storeClearingJob_ = false;

    EdbFile file_;
    RecoveredStore store_;
    StopFlag stop_;
    UiProgressSink uiSink_;
    MarshalledProgressSink workerSink_;
    MarshalledWizardPort workerWizard_;
    ProcessingContext workerContext_;
    WorkerThreads workers_;
};

}  // namespace velmor::ui
