#pragma once

#include "discovery/progress_sink.h"
#include "wizard/progress_thinning.h"
#include "wizard/ui_call_bridge.h"

namespace velmor::ui {

// The sink that workers hold: each operation runs on the user-interface thread, on the sink
// that lives there, in the order made. Progress positions are posted; every other operation
// returns once it has been applied. Positions that the bars would show no differently are not
// sent.
class MarshalledProgressSink : public ProgressSink {
public:
    MarshalledProgressSink(UiCallBridge& bridge, ProgressSink& target)
        : bridge_(bridge), target_(target) {}

    void ShowProgress() override;
    void HideProgress() override;
    void SetProgressRange(int low, int high) override;
    void SetProgressPosition(int position) override;
    void SetScanStatus(const std::u16string& text) override;
    void HideScanStatus() override;
    void SetHelpText(const std::u16string& text) override;
    void RedrawHelpText() override;
    void DeleteAllMailboxRows() override;
    void InsertMailboxRow(int row, const std::u16string& number, int image) override;
    void SetMailboxRowName(int row, const std::u16string& name) override;
    void ShowButton(WizardButton button) override;
    void HideButton(WizardButton button) override;
    void EnableButton(WizardButton button, bool enabled) override;
    void ShowItemProgress() override;
    void HideItemProgress() override;
    void SetItemProgressRange(int low, int high) override;
    void SetItemProgressPosition(int position) override;
    void SetItemStatus(const std::u16string& text) override;
    void ShowItemStatus() override;
    void HideItemStatus() override;

private:
    UiCallBridge& bridge_;
    ProgressSink& target_;
    ProgressThinning scan_;
    ProgressThinning items_;
};

}  // namespace velmor::ui
