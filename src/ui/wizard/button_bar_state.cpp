#include "wizard/button_bar_state.h"

namespace velmor::ui {

ButtonBarState::ButtonBarState() {
    next = {{true, true}, kNextCaption};
    back = {{false, true}, kBackCaption};
    stop = {{false, true}, kStopCaption};
    itemStatus.text = kItemStatusAtStart;
}

ButtonState& ButtonBarState::Button(WizardButton button) {
    switch (button) {
        case WizardButton::Next:
            return next;
        case WizardButton::Back:
            return back;
        case WizardButton::Stop:
            return stop;
    }
    return next;
}

}  // namespace velmor::ui
