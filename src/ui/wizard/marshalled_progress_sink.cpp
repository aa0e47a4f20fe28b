#include "wizard/marshalled_progress_sink.h"

namespace velmor::ui {

// The positions are posted, so that a worker never waits for the window to paint a bar.

void MarshalledProgressSink::ShowProgress() {
    scan_.Forget();
    bridge_.Call([&] { target_.ShowProgress(); });
}

void MarshalledProgressSink::HideProgress() {
    scan_.Forget();
    bridge_.Call([&] { target_.HideProgress(); });
}

void MarshalledProgressSink::SetProgressRange(int low, int high) {
    scan_.SetRange(low, high);
    bridge_.Call([&] { target_.SetProgressRange(low, high); });
}

void MarshalledProgressSink::SetProgressPosition(int position) {
    if (scan_.LetThrough(position)) {
        bridge_.Post([this, position] { target_.SetProgressPosition(position); });
    }
}

void MarshalledProgressSink::SetScanStatus(const std::u16string& text) {
    bridge_.Call([&] { target_.SetScanStatus(text); });
}

void MarshalledProgressSink::HideScanStatus() {
    bridge_.Call([&] { target_.HideScanStatus(); });
}

void MarshalledProgressSink::SetHelpText(const std::u16string& text) {
    bridge_.Call([&] { target_.SetHelpText(text); });
}

void MarshalledProgressSink::RedrawHelpText() {
    bridge_.Call([&] { target_.RedrawHelpText(); });
}

void MarshalledProgressSink::DeleteAllMailboxRows() {
    bridge_.Call([&] { target_.DeleteAllMailboxRows(); });
}

void MarshalledProgressSink::InsertMailboxRow(int row, const std::u16string& number, int image) {
    bridge_.Call([&] { target_.InsertMailboxRow(row, number, image); });
}

void MarshalledProgressSink::SetMailboxRowName(int row, const std::u16string& name) {
    bridge_.Call([&] { target_.SetMailboxRowName(row, name); });
}

void MarshalledProgressSink::ShowButton(WizardButton button) {
    bridge_.Call([&] { target_.ShowButton(button); });
}

void MarshalledProgressSink::HideButton(WizardButton button) {
    bridge_.Call([&] { target_.HideButton(button); });
}

void MarshalledProgressSink::EnableButton(WizardButton button, bool enabled) {
    bridge_.Call([&] { target_.EnableButton(button, enabled); });
}

void MarshalledProgressSink::ShowItemProgress() {
    items_.Forget();
    bridge_.Call([&] { target_.ShowItemProgress(); });
}

void MarshalledProgressSink::HideItemProgress() {
    items_.Forget();
    bridge_.Call([&] { target_.HideItemProgress(); });
}

void MarshalledProgressSink::SetItemProgressRange(int low, int high) {
    items_.SetRange(low, high);
    bridge_.Call([&] { target_.SetItemProgressRange(low, high); });
}

void MarshalledProgressSink::SetItemProgressPosition(int position) {
    if (items_.LetThrough(position)) {
        bridge_.Post([this, position] { target_.SetItemProgressPosition(position); });
    }
}

void MarshalledProgressSink::SetItemStatus(const std::u16string& text) {
    bridge_.Call([&] { target_.SetItemStatus(text); });
}

void MarshalledProgressSink::ShowItemStatus() {
    bridge_.Call([&] { target_.ShowItemStatus(); });
}

void MarshalledProgressSink::HideItemStatus() {
    bridge_.Call([&] { target_.HideItemStatus(); });
}

}  // namespace velmor::ui
