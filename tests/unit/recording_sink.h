#pragma once

#include <string>
#include <vector>

#include "discovery/progress_sink.h"
#include "discovery/wizard_port.h"
#include "edb/text_codec.h"

namespace velmor::test {

// Records every window operation as one line of text, in call order.
class RecordingSink : public ProgressSink {
public:
    std::vector<std::string> calls;

    void ShowProgress() override { Add("ShowProgress"); }
    void HideProgress() override { Add("HideProgress"); }
    void SetProgressRange(int low, int high) override {
        Add("SetProgressRange " + std::to_string(low) + " " + std::to_string(high));
    }
    void SetProgressPosition(int position) override {
        Add("SetProgressPosition " + std::to_string(position));
    }
    void SetScanStatus(const std::u16string& text) override { Add("SetScanStatus " + U8(text)); }
    void HideScanStatus() override { Add("HideScanStatus"); }
    void SetHelpText(const std::u16string& text) override { Add("SetHelpText " + U8(text)); }
    void RedrawHelpText() override { Add("RedrawHelpText"); }
    void DeleteAllMailboxRows() override { Add("DeleteAllMailboxRows"); }
    void InsertMailboxRow(int row, const std::u16string& number, int image) override {
        Add("InsertMailboxRow " + std::to_string(row) + " " + U8(number) + " " +
            std::to_string(image));
    }
    void SetMailboxRowName(int row, const std::u16string& name) override {
        Add("SetMailboxRowName " + std::to_string(row) + " " + U8(name));
    }
    void ShowButton(WizardButton button) override { Add("ShowButton " + Name(button)); }
    void HideButton(WizardButton button) override { Add("HideButton " + Name(button)); }
    void EnableButton(WizardButton button, bool enabled) override {
        Add("EnableButton " + Name(button) + (enabled ? " 1" : " 0"));
    }
    void ShowItemProgress() override { Add("ShowItemProgress"); }
    void HideItemProgress() override { Add("HideItemProgress"); }
    void SetItemProgressRange(int low, int high) override {
        Add("SetItemProgressRange " + std::to_string(low) + " " + std::to_string(high));
    }
    void SetItemProgressPosition(int position) override {
        Add("SetItemProgressPosition " + std::to_string(position));
    }
    void SetItemStatus(const std::u16string& text) override { Add("SetItemStatus " + U8(text)); }
    void ShowItemStatus() override { Add("ShowItemStatus"); }
    void HideItemStatus() override { Add("HideItemStatus"); }

    // The calls that start with prefix, in order.
    std::vector<std::string> Matching(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& call : calls) {
            if (call.rfind(prefix, 0) == 0) {
                out.push_back(call);
            }
        }
        return out;
    }

protected:
    virtual void Add(std::string call) { calls.push_back(std::move(call)); }

private:
    static std::string U8(const std::u16string& text) { return Utf16ToUtf8(text); }
    static std::string Name(WizardButton button) {
        switch (button) {
            case WizardButton::Next:
                return "Next";
            case WizardButton::Back:
                return "Back";
            case WizardButton::Stop:
                return "Stop";
        }
        return "?";
    }
};

// A wizard that starts on the mailbox step and records its messages and step changes.
class RecordingWizard : public WizardPort {
public:
    int step = 2;
    std::vector<std::string> messages;
    int stepNotifications = 0;
    bool discoveryJobCleared = false;

    int WizardStep() const override { return step; }
    void SetWizardStep(int value) override { step = value; }
    void NotifyStepChanged() override { ++stepNotifications; }
    void ShowMessage(const std::u16string& text) override { messages.push_back(Utf16ToUtf8(text)); }
    void ClearDiscoveryJob() override { discoveryJobCleared = true; }
};

}  // namespace velmor::test
