#pragma once

#include "discovery/progress_sink.h"

namespace velmor {

// A sink that shows nothing; front ends override the operations they display.
class NullProgressSink : public ProgressSink {
public:
    void ShowProgress() override {}
    void HideProgress() override {}
    void SetProgressRange(int, int) override {}
    void SetProgressPosition(int) override {}
    void SetScanStatus(const std::u16string&) override {}
    void HideScanStatus() override {}
    void SetHelpText(const std::u16string&) override {}
    void RedrawHelpText() override {}
    void DeleteAllMailboxRows() override {}
    void InsertMailboxRow(int, const std::u16string&, int) override {}
    void SetMailboxRowName(int, const std::u16string&) override {}
    void ShowButton(WizardButton) override {}
    void HideButton(WizardButton) override {}
    void EnableButton(WizardButton, bool) override {}
    void ShowItemProgress() override {}
    void HideItemProgress() override {}
    void SetItemProgressRange(int, int) override {}
    void SetItemProgressPosition(int) override {}
    void SetItemStatus(const std::u16string&) override {}
    void ShowItemStatus() override {}
    void HideItemStatus() override {}
};

}  // namespace velmor
