#include "wizard/wizard_flow.h"

#include "browse/message_template.h"
#include "discovery/discovery_worker.h"

namespace velmor::ui {

WizardFlow::WizardFlow(WizardScreen& screen, ButtonBarState& bar, MailboxPagePort& mailboxPage,
                       UiCallBridge& bridge)
    : screen_(screen),
      bar_(bar),
      mailboxPage_(mailboxPage),
      bridge_(bridge),
      uiSink_(bar, mailboxPage),
      workerSink_(bridge, uiSink_),
      workerWizard_(bridge, *this),
      workerContext_{file_, store_, workerSink_, stop_},
      workers_(bridge) {}

WizardFlow::~WizardFlow() {
    stop_.request();
    workers_.WaitForAll();
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
            screen_.SaveItemList();
            break;
    }
}

void WizardFlow::Back() {
    if (step_ == kMailboxStep) {
        BackToFileStep();
    }
}

void WizardFlow::Stop() {
    if (step_ == kMailboxStep) {
        StopDiscovery();
    }
}

bool WizardFlow::RequestClose() {
    if (discoveryJob_) {
        screen_.ShowMessage(kRecoveryInProgress, MessageIcon::Information);
        return false;
    }
    if (!screen_.AskYesNo(kCloseQuestion)) {
        return false;
    }
    screen_.HideMainWindow();
    screen_.OpenProductWebPage();
    // The store-clearing worker, and any other worker still finishing, uses the store.
    workers_.WaitForAll();
    store_.ResetStore();
    DeleteMessageTemplate();
    return true;
}

void WizardFlow::ShowMessage(const std::u16string& text) {
    screen_.ShowMessage(text, MessageIcon::None);
}

void WizardFlow::GoToStep(int step) {
    step_ = step;
    screen_.ShowCurrentStep();
}

void WizardFlow::NextOnFileStep() {
    uiSink_.EnableButton(WizardButton::Next, false);
    if (!ValidateDatabasePath(file_, screen_.DatabasePath(), screen_.PathChecks())) {
        uiSink_.EnableButton(WizardButton::Next, true);
        return;
    }
    GoToStep(kMailboxStep);
    ShowBusyButtons(uiSink_);
    uiSink_.EnableButton(WizardButton::Stop, false);
    uiSink_.EnableButton(WizardButton::Next, true);
    StartDiscovery();
}

void WizardFlow::NextOnMailboxStep() {
    if (mailboxPage_.SelectedCount() == 0 || mailboxPage_.SelectionMark() < 0) {
        screen_.ShowMessage(kPleaseSelectUser, MessageIcon::Warning);
        screen_.ShowCurrentStep();
        return;
    }
}

void WizardFlow::BackToFileStep() {
    uiSink_.HideButton(WizardButton::Back);
    GoToStep(kFileStep);
    uiSink_.EnableButton(WizardButton::Next, false);
    StartStoreClearing();
}

void WizardFlow::StopDiscovery() {
    // Instead of suspending the worker, the open question pauses it at its next stop test.
    if (discoveryJob_) {
        stop_.openQuestion();
    }
    const bool yes = screen_.AskYesNo(kStopRecoveryQuestion);
    const bool stopping = yes && discoveryJob_;
    if (stop_.questionOpen()) {
        stop_.closeQuestion(stopping);
    }
    if (!stopping || mailboxPage_.RowCount() > 0) {
        return;
    }
    GoToStep(kFileStep);
    uiSink_.HideButton(WizardButton::Back);
}

void WizardFlow::StartDiscovery() {
    discoveryJob_ = true;
    workers_.Start([this] {
        DiscoveryWorker(workerContext_, workerWizard_);
        // A worker that found the stop flag set at its start ends without clearing its job.
        workerWizard_.ClearDiscoveryJob();
    });
}

void WizardFlow::StartStoreClearing() {
    storeClearingJob_ = true;
    workers_.Start([this] {
        ClearStore(workerSink_);
        bridge_.Call([this] { storeClearingJob_ = false; });
    });
}

void WizardFlow::ClearStore(ProgressSink& sink) {
    sink.DeleteAllMailboxRows();
    store_.ResetStore();
    file_.CloseDatabase();
    sink.EnableButton(WizardButton::Next, true);
}

}  // namespace velmor::ui
