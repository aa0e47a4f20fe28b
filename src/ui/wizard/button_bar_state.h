#pragma once

#include <functional>
#include <string>

#include "discovery/progress_sink.h"

namespace velmor::ui {

inline constexpr char16_t kNextCaption[] = u"Next";
inline constexpr char16_t kSaveCaption[] = u"Save";
inline constexpr char16_t kBackCaption[] = u"Back";
inline constexpr char16_t kStopCaption[] = u"Stop";
inline constexpr char16_t kItemStatusAtStart[] = u"Scanning File for Items.Please wait...";

struct ControlState {
    bool visible = false;
    bool enabled = true;
};

struct ButtonState : ControlState {
    std::u16string caption;
};

struct ProgressState : ControlState {
    int low = 0;
    int high = 100;
    int position = 0;
};

struct TextState : ControlState {
    std::u16string text;
};

// What the button bar shows: its three buttons and its two pairs of progress displays. The
// view paints this state; the wizard and the workers change it.
class ButtonBarState {
public:
    ButtonBarState();

    ButtonState next;
    ButtonState back;
    ButtonState stop;
    ProgressState scanProgress;
    TextState scanStatus;
    ProgressState itemProgress;
    TextState itemStatus;

    ButtonState& Button(WizardButton button);

    // The view that shows the state; called after every change.
    void SetObserver(std::function<void()> observer) { observer_ = std::move(observer); }
    void Changed() const {
        if (observer_) {
            observer_();
        }
    }

private:
    std::function<void()> observer_;
};

}  // namespace velmor::ui
