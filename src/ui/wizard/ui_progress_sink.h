#pragma once

#include "discovery/progress_sink.h"
#include "wizard/button_bar_state.h"
#include "wizard/mailbox_page_port.h"

namespace velmor::ui {

// The workers' window operations, applied on the user-interface thread: the bar's displays
// and buttons change the bar's state, the help text and the rows go to the mailbox page.
class UiProgressSink : public ProgressSink {
public:
    UiProgressSink(ButtonBarState& bar, MailboxPagePort& mailboxPage)
        : bar_(bar), mailboxPage_(mailboxPage) {}

    void ShowProgress() override { Show(bar_.scanProgress, true); }
    void HideProgress() override { Show(bar_.scanProgress, false); }
    void SetProgressRange(int low, int high) override { SetRange(bar_.scanProgress, low, high); }
    void SetProgressPosition(int position) override { SetPosition(bar_.scanProgress, position); }
    void SetScanStatus(const std::u16string& text) override { SetText(bar_.scanStatus, text); }
    void HideScanStatus() override { Show(bar_.scanStatus, false); }

    void SetHelpText(const std::u16string& text) override { mailboxPage_.SetHelpText(text); }
    void RedrawHelpText() override { mailboxPage_.RedrawHelpText(); }
    void DeleteAllMailboxRows() override { mailboxPage_.DeleteAllRows(); }
    void InsertMailboxRow(int row, const std::u16string& number, int image) override {
        mailboxPage_.InsertRow(row, number, image);
    }
    void SetMailboxRowName(int row, const std::u16string& name) override {
        mailboxPage_.SetRowName(row, name);
    }

    void ShowButton(WizardButton button) override { Show(bar_.Button(button), true); }
    void HideButton(WizardButton button) override { Show(bar_.Button(button), false); }
    void EnableButton(WizardButton button, bool enabled) override;

    void ShowItemProgress() override { Show(bar_.itemProgress, true); }
    void HideItemProgress() override { Show(bar_.itemProgress, false); }
    void SetItemProgressRange(int low, int high) override {
        SetRange(bar_.itemProgress, low, high);
    }
    void SetItemProgressPosition(int position) override {
        SetPosition(bar_.itemProgress, position);
    }
    void SetItemStatus(const std::u16string& text) override { SetText(bar_.itemStatus, text); }
    void ShowItemStatus() override { Show(bar_.itemStatus, true); }
    void HideItemStatus() override { Show(bar_.itemStatus, false); }

    // The caption of the Next button ("Next", or "Save" in step 3).
    void SetNextCaption(const std::u16string& caption);

private:
    void Show(ControlState& control, bool visible);
    void SetRange(ProgressState& progress, int low, int high);
    void SetPosition(ProgressState& progress, int position);
    // Hides the text, replaces it and shows it again.
    void SetText(TextState& line, const std::u16string& text);

    ButtonBarState& bar_;
    MailboxPagePort& mailboxPage_;
};

}  // namespace velmor::ui
