#pragma once

#include <string>

#include "cli/terminal_progress.h"
#include "discovery/processing_context.h"
#include "discovery/wizard_port.h"
#include "edb/path_validation.h"

namespace velmor::cli {

// One database opened from the command line, with the store, the stop flag and the terminal
// progress the engine reports to.
class CliSession : private PathValidationPort, private WizardPort {
public:
    CliSession();
    ~CliSession() override;

    // Checks and opens FILE; the path messages go to stderr.
    bool Open(const std::string& path);
    // Runs the seven processing parts as the discovery worker does; false when nothing was
    // found ("No User Found" went to stderr).
    bool Discover();

    ProcessingContext& context() { return context_; }
    const EdbFile& file() const { return file_; }
    RecoveredStore& store() { return store_; }
    TerminalProgress& progress() { return progress_; }

private:
    void OpenFileChooser() override {}
    void ShowPathError(const std::u16string& message, bool ownedByMainWindow) override;

    int WizardStep() const override { return wizardStep_; }
    void SetWizardStep(int step) override { wizardStep_ = step; }
    void NotifyStepChanged() override {}
    void ShowMessage(const std::u16string& text) override;
    void ClearDiscoveryJob() override {}
    void ReportUnreadablePages() const;

    // Discovery runs while the wizard shows its mailbox step.
    static constexpr int kMailboxStep = 2;

    EdbFile file_;
    RecoveredStore store_;
    StopFlag stop_;
    TerminalProgress progress_;
    ProcessingContext context_;
    int wizardStep_ = 1;
};

}  // namespace velmor::cli
