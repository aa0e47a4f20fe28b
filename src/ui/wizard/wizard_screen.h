#pragma once

#include <string>

#include "edb/path_validation.h"

namespace velmor::ui {

enum class MessageIcon { None, Information, Warning, Error };

// What the wizard's actions need from the main window; used on the user-interface thread.
class WizardScreen {
public:
    virtual ~WizardScreen() = default;

    // Lays the panes out for the current step.
    virtual void ShowCurrentStep() = 0;

    // The file page's path box and the messages of the path check.
    virtual std::u16string DatabasePath() = 0;
    virtual PathValidationPort& PathChecks() = 0;
    // The file page's streaming-file box; empty when it names none.
    virtual std::u16string StreamingFilePath() { return {}; }

    // A message box with an OK button and the application title as caption.
    virtual void ShowMessage(const std::u16string& text, MessageIcon icon) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::u16string& question) = 0;

    // Step 3's Save: writes the item list as shown to a file the user chooses.
    virtual void SaveItemList() = 0;

    // The end of a confirmed close.
    virtual void HideMainWindow() = 0;
    virtual void OpenProductWebPage() = 0;
};

}  // namespace velmor::ui
