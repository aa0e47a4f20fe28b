#include "discovery/discovery_worker.h"

#include <algorithm>

#include "discovery/processing_driver.h"

namespace velmor {

namespace {

constexpr int kFirstStep = 1;

}  // namespace

void DiscoveryWorker(ProcessingContext& context, WizardPort& wizard,
                     const std::function<void()>& furtherParts) {
    ProgressSink& sink = context.sink;
    ShowBusyButtons(sink);
    if (context.stop.requested()) {
        return;
    }
    context.store.listedMailboxCount = 0;
    sink.EnableButton(WizardButton::Stop, true);

    const bool ok = RunProcessingParts(context);
    if (ok && furtherParts && !context.stop.requested()) {
        furtherParts();
    }
    if (!ok) {
        context.store.pageGroups.Clear();
        wizard.ShowMessage(kNoUserFound);
    }
    sink.HideProgress();
    sink.HideScanStatus();
    wizard.ClearDiscoveryJob();
    ShowIdleButtons(sink);
    if (context.stop.requested() && context.store.listedMailboxCount == 0) {
        sink.HideButton(WizardButton::Back);
    }
    context.stop.clear();
    if (!ok) {
        wizard.SetWizardStep(std::max(kFirstStep, wizard.WizardStep() - 1));
        wizard.NotifyStepChanged();
        sink.HideButton(WizardButton::Back);
    }
}

}  // namespace velmor
