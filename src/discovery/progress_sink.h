#pragma once

#include <string>

namespace velmor {

enum class WizardButton { Next, Back, Stop };

// The window operations that workers drive. Each call takes effect before it returns, so a
// front end that owns its windows on another thread must marshal the call and wait for it.
class ProgressSink {
public:
    virtual ~ProgressSink() = default;

    // Scan progress bar.
    virtual void ShowProgress() = 0;
    virtual void HideProgress() = 0;
    virtual void SetProgressRange(int low, int high) = 0;
    virtual void SetProgressPosition(int position) = 0;

    // Scan status line: a text change hides the line, sets the text and shows it again.
    virtual void SetScanStatus(const std::u16string& text) = 0;
    virtual void HideScanStatus() = 0;

    // Step-2 help text and the full redraw of its view.
    virtual void SetHelpText(const std::u16string& text) = 0;
    virtual void RedrawHelpText() = 0;

    // Step-2 mailbox list.
    virtual void DeleteAllMailboxRows() = 0;
    virtual void InsertMailboxRow(int row, const std::u16string& number, int image) = 0;
    virtual void SetMailboxRowName(int row, const std::u16string& name) = 0;

    // Button bar.
    virtual void ShowButton(WizardButton button) = 0;
    virtual void HideButton(WizardButton button) = 0;
    virtual void EnableButton(WizardButton button, bool enabled) = 0;

    // Item progress bar.
    virtual void ShowItemProgress() = 0;
    virtual void HideItemProgress() = 0;
    virtual void SetItemProgressRange(int low, int high) = 0;
    virtual void SetItemProgressPosition(int position) = 0;

    // Item status label.
    virtual void SetItemStatus(const std::u16string& text) = 0;
    virtual void ShowItemStatus() = 0;
    virtual void HideItemStatus() = 0;
};

// Stop shown; Back and Next hidden.
inline void ShowBusyButtons(ProgressSink& sink) {
    sink.ShowButton(WizardButton::Stop);
    sink.HideButton(WizardButton::Back);
    sink.HideButton(WizardButton::Next);
}

// Stop hidden; Back and Next shown.
inline void ShowIdleButtons(ProgressSink& sink) {
    sink.HideButton(WizardButton::Stop);
    sink.ShowButton(WizardButton::Back);
    sink.ShowButton(WizardButton::Next);
}

}  // namespace velmor
