#pragma once

#include <string>

namespace velmor {

inline constexpr char16_t kApplicationTitle[] = u"Velmor for Exchange Server";

// What the workers do to the main frame besides the progress displays.
class WizardPort {
public:
    virtual ~WizardPort() = default;

    virtual int WizardStep() const = 0;
    virtual void SetWizardStep(int step) = 0;
    // Makes the frame show the view of the current step; returns once it has.
    virtual void NotifyStepChanged() = 0;
    // A plain message box with an OK button and the application title as caption.
    virtual void ShowMessage(const std::u16string& text) = 0;
    // The discovery worker is ending: the frame forgets its thread.
    virtual void ClearDiscoveryJob() = 0;
};

}  // namespace velmor
