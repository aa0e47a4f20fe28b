#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/plain_text.h"
#include "cli/terminal_progress.h"
#include "edb/text_codec.h"
#include "export/atomic_file.h"
#include "streaming/carve_progress.h"
#include "streaming/file_byte_source.h"
#include "streaming/streaming_carve.h"

namespace velmor::cli {

namespace {

// Digits of the carved files' numbers: 00001.eml, ...
constexpr int kFileNumberDigits = 5;

// A UTF-8 field as plain output prints it (PlainText).
std::string PlainField(const std::string& text) {
    return PlainText(Utf8ToUtf16(text));
}

std::string FileName(int64_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "%0*" PRId64 ".eml", kFileNumberDigits, number);
    return name;
}

// Writes message as name in directory (never through a link, never over a file there: a taken
// name is numbered); the name it got, or nothing with the reason in error.
std::optional<std::string> WriteMessage(const std::filesystem::path& directory,
                                        const std::string& name, std::string_view bytes,
                                        std::string& error) {
    AtomicFile file(directory, nullptr);
    std::optional<std::filesystem::path> written;
    if (file.Open() && file.Write(bytes)) {
        written = file.Commit(name);
    }
    if (!written) {
        error = file.error();
        return std::nullopt;
    }
    return written->filename().string();
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
    std::string writeError;  // the first write that failed ends the pass
    TerminalProgress progress;
    CarveLimits limits;
    limits.alignment = options.align;
    const StreamingCarveCounts counts = CarveStreamingFile(
        source, limits,
        [&](CarvedMessage&& message, const MimeSummary& summary) {
            if (!writeError.empty()) {
                return;
            }
            const std::optional<std::string> file =
                WriteMessage(directory, FileName(++number), message.bytes, writeError);
            progress.Finish();  // the line starts clean; the bar comes back as it moves
            if (file) {
                std::fputs(Line(options.json, *file, message, summary).c_str(), stdout);
            }
        },
        ShowCarveProgress(progress, [&] { return !writeError.empty(); }));
    progress.Finish();
    std::fprintf(stderr, "velmor-cli: %" PRId64 " messages carved, %" PRId64 " incomplete\n",
                 counts.messages, counts.incomplete);
    if (counts.unreadableBytes != 0) {
        std::fprintf(stderr, "velmor-cli: %" PRId64 " bytes could not be read\n",
                     counts.unreadableBytes);
    }
    if (!writeError.empty()) {
        std::fprintf(stderr, "velmor-cli: %s; carving stopped there\n", writeError.c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace velmor::cli
