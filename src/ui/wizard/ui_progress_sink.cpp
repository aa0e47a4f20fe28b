#include "wizard/ui_progress_sink.h"

namespace velmor::ui {

void UiProgressSink::EnableButton(WizardButton button, bool enabled) {
    bar_.Button(button).enabled = enabled;
    bar_.Changed();
}

void UiProgressSink::SetNextCaption(const std::u16string& caption) {
    bar_.next.caption = caption;
    bar_.Changed();
}

void UiProgressSink::Show(ControlState& control, bool visible) {
    control.visible = visible;
    bar_.Changed();
}

void UiProgressSink::SetRange(ProgressState& progress, int low, int high) {
    progress.low = low;
    progress.high = high;
    bar_.Changed();
}

void UiProgressSink::SetPosition(ProgressState& progress, int position) {
    progress.position = position;
    bar_.Changed();
}

void UiProgressSink::SetText(TextState& line, const std::u16string& text) {
    line.text = text;
    line.visible = true;
    bar_.Changed();
}

}  // namespace velmor::ui
