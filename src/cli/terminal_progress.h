#pragma once

#include <string>
#include <vector>

#include "discovery/null_progress_sink.h"

namespace velmor::cli {

// Draws the progress bar and status texts on stderr when it is a terminal, and keeps the
// mailbox rows that the discovery writes.
class TerminalProgress : public NullProgressSink {
public:
    TerminalProgress();
    ~TerminalProgress() override;

    void SetProgressRange(int low, int high) override;
    void SetProgressPosition(int position) override;
    void SetScanStatus(const std::u16string& text) override;
    void HideProgress() override;
    void SetItemProgressRange(int low, int high) override;
    void SetItemProgressPosition(int position) override;
    void SetItemStatus(const std::u16string& text) override;
    void HideItemProgress() override;

    void DeleteAllMailboxRows() override { mailboxRows_.clear(); }
    void InsertMailboxRow(int row, const std::u16string& number, int image) override;
    void SetMailboxRowName(int row, const std::u16string& name) override;

    struct MailboxRow {
        std::u16string number;
        std::u16string name;
    };
    const std::vector<MailboxRow>& mailboxRows() const { return mailboxRows_; }

    // Clears the progress line so that ordinary output starts on a clean line.
    void Finish();

private:
    struct Bar {
        int high = 0;
        int position = 0;
    };
    void Draw();

    bool enabled_;
    Bar bar_;
    std::string status_;
    int lastPercent_ = -1;
    bool drawn_ = false;
    std::vector<MailboxRow> mailboxRows_;
};

}  // namespace velmor::cli
