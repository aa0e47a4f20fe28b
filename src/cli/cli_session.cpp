#include "cli/cli_session.h"

#include <cstdio>

#include "browse/message_template.h"
#include "discovery/discovery_worker.h"
#include "edb/text_codec.h"

namespace velmor::cli {

namespace {

void PrintError(const std::u16string& message) {
    std::fprintf(stderr, "%s\n", Utf16ToUtf8(message).c_str());
}

}  // namespace

CliSession::CliSession() : context_{file_, store_, progress_, stop_} {}

// The program removes its message template when it ends.
CliSession::~CliSession() {
    DeleteMessageTemplate();
}

bool CliSession::Open(const std::string& path) {
    return ValidateDatabasePath(file_, Utf8ToUtf16(path), *this);
}

bool CliSession::Discover() {
    wizardStep_ = kMailboxStep;
    DiscoveryWorker(context_, *this);
    progress_.Finish();
    ReportUnreadablePages();
    return wizardStep_ == kMailboxStep;
}

void CliSession::ReportUnreadablePages() const {
    if (const int64_t count = file_.unreadablePages(); count > 0) {
        std::fprintf(stderr, "velmor-cli: %lld unreadable pages of the database were skipped\n",
                     static_cast<long long>(count));
    }
}

void CliSession::ShowPathError(const std::u16string& message, bool) {
    PrintError(message);
}

void CliSession::ShowMessage(const std::u16string& text) {
    progress_.Finish();
    PrintError(text);
}

}  // namespace velmor::cli
