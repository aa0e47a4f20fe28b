#pragma once

#include "discovery/wizard_port.h"
#include "wizard/ui_call_bridge.h"

namespace velmor::ui {

// The wizard as the discovery worker holds it: each operation runs on the user-interface
// thread and returns once it has been applied.
class MarshalledWizardPort : public WizardPort {
public:
    MarshalledWizardPort(UiCallBridge& bridge, WizardPort& target)
        : bridge_(bridge), target_(target) {}

    int WizardStep() const override {
        return bridge_.Get<int>([&] { return target_.WizardStep(); });
    }
    void SetWizardStep(int step) override {
        bridge_.Call([&] { target_.SetWizardStep(step); });
    }
    void NotifyStepChanged() override {
        bridge_.Call([&] { target_.NotifyStepChanged(); });
    }
    void ShowMessage(const std::u16string& text) override {
        bridge_.Call([&] { target_.ShowMessage(text); });
    }
    void ClearDiscoveryJob() override {
        bridge_.Call([&] { target_.ClearDiscoveryJob(); });
    }

private:
    UiCallBridge& bridge_;
    WizardPort& target_;
};

}  // namespace velmor::ui
