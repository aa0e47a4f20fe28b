#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/terminal_progress.h"
#include "streaming/carve_progress.h"
#include "streaming/file_byte_source.h"
#include "streaming/streaming_carve.h"

namespace velmor::cli {

namespace {

// Digits of the carved files' numbers: 00001.eml, ...
constexpr int kFileNumberDigits = 5;

// UTF-8 text with each control character as one blank, for a tab-separated field.
std::string PlainField(std::string text) {
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = ' ';
        }
    }
    return text;
}

std::string FileName(int64_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "%0*" PRId64 ".eml", kFileNumberDigits, number);
    return name;
}

std::string Line(bool json, const std::string& file, const CarvedMessage& message,
                 const MimeSummary& summary) {
    const std::string status =
        message.incompleteReason.empty() ? "complete" : message.incompleteReason;
    if (json) {
        return "{\"file\": " + JsonString(file) + ", \"start\": " + std::to_string(message.offset) +
               ", \"length\": " + std::to_string(message.bytes.size()) +
               ", \"pages\": " + std::to_string(message.pages) +
               ", \"complete\": " + (message.incompleteReason.empty() ? "true" : "false") +
               ", \"incompleteReason\": " + JsonString(message.incompleteReason) +
               ", \"messageId\": " + JsonString(summary.messageId) +
               ", \"from\": " + JsonString(summary.from) +
               ", \"subject\": " + JsonString(summary.subject) +
               ", \"date\": " + JsonString(summary.date) +
               ", \"attachments\": " + std::to_string(summary.attachmentCount) + "}\n";
    }
    return file + '\t' + std::to_string(message.offset) + '\t' +
           std::to_string(message.bytes.size()) + '\t' + std::to_string(message.pages) + '\t' +
           status + '\t' + PlainField(summary.messageId) + '\t' + PlainField(summary.from) + '\t' +
           PlainField(summary.subject) + '\t' + summary.date + '\t' +
           std::to_string(summary.attachmentCount) + '\n';
}

}  // namespace

int RunCarveCommand(const CliOptions& options) {
    FileByteSource source;
    if (!source.Open(options.arguments[0])) {
        std::fprintf(stderr, "velmor-cli: cannot open %s\n", options.arguments[0].c_str());
        return kExitFailure;
    }
    const std::filesystem::path directory = options.arguments[1];
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    if (!std::filesystem::is_directory(directory, error)) {
        std::fprintf(stderr, "velmor-cli: cannot make the directory %s\n", directory.c_str());
        return kExitFailure;
    }
    int64_t number = 0;
    bool written = true;
    TerminalProgress progress;
    CarveLimits limits;
    limits.alignment = options.align;
    const StreamingCarveCounts counts = CarveStreamingFile(
        source, limits,
        [&](CarvedMessage&& message, const MimeSummary& summary) {
            const std::string file = FileName(++number);
            std::ofstream out(directory / file, std::ios::binary | std::ios::trunc);
            out.write(message.bytes.data(), static_cast<std::streamsize>(message.bytes.size()));
            out.close();
            if (!out) {
                written = false;
            }
            progress.Finish();  // the line starts clean; the bar comes back as it moves
            std::fputs(Line(options.json, file, message, summary).c_str(), stdout);
        },
        ShowCarveProgress(progress, {}));
    progress.Finish();
    std::fprintf(stderr, "velmor-cli: %" PRId64 " messages carved, %" PRId64 " incomplete\n",
                 counts.messages, counts.incomplete);
    if (counts.unreadableBytes != 0) {
        std::fprintf(stderr, "velmor-cli: %" PRId64 " bytes could not be read\n",
                     counts.unreadableBytes);
    }
    if (!written) {
        std::fprintf(stderr, "velmor-cli: some messages could not be written below %s\n",
                     directory.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace velmor::cli
