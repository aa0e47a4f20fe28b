#include "cli/terminal_progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

constexpr int kBarWidth = 30;
constexpr int kFullPercent = 100;

}  // namespace

TerminalProgress::TerminalProgress() : enabled_(::isatty(STDERR_FILENO) == 1) {}

TerminalProgress::~TerminalProgress() {
    Finish();
}

void TerminalProgress::SetProgressRange(int, int high) {
    bar_.high = high;
    Draw();
}

void TerminalProgress::SetProgressPosition(int position) {
    bar_.position = position;
    Draw();
}

void TerminalProgress::SetScanStatus(const std::u16string& text) {
    status_ = Utf16ToUtf8(text);
    lastPercent_ = -1;
    Draw();
}

void TerminalProgress::HideProgress() {
    Finish();
}

void TerminalProgress::SetItemProgressRange(int low, int high) {
    SetProgressRange(low, high);
}

void TerminalProgress::SetItemProgressPosition(int position) {
    SetProgressPosition(position);
}

void TerminalProgress::SetItemStatus(const std::u16string& text) {
    SetScanStatus(text);
}

void TerminalProgress::HideItemProgress() {
    Finish();
}

void TerminalProgress::InsertMailboxRow(int row, const std::u16string& number, int) {
    if (row >= 0 && static_cast<size_t>(row) <= mailboxRows_.size()) {
        mailboxRows_.insert(mailboxRows_.begin() + row, MailboxRow{number, {}});
    }
}

void TerminalProgress::SetMailboxRowName(int row, const std::u16string& name) {
    if (row >= 0 && static_cast<size_t>(row) < mailboxRows_.size()) {
        mailboxRows_[static_cast<size_t>(row)].name = name;
    }
}

void TerminalProgress::Draw() {
    if (!enabled_) {
        return;
    }
    const int percent =
        bar_.high < 1 ? 0 : static_cast<int>(int64_t{bar_.position} * kFullPercent / bar_.high);
    if (percent == lastPercent_) {
        return;
    }
    lastPercent_ = percent;
    const int filled = std::clamp(percent, 0, kFullPercent) * kBarWidth / kFullPercent;
    std::fprintf(stderr, "\r[%s%s] %3d%% %s\x1b[K", std::string(filled, '#').c_str(),
                 std::string(kBarWidth - filled, ' ').c_str(), percent, status_.c_str());
    std::fflush(stderr);
    drawn_ = true;
}

void TerminalProgress::Finish() {
    if (drawn_) {
        std::fprintf(stderr, "\r\x1b[K");
        std::fflush(stderr);
        drawn_ = false;
    }
    lastPercent_ = -1;
}

}  // namespace velmor::cli
