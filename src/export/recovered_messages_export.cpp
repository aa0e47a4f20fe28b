#include "export/recovered_messages_export.h"

#include <cstdio>
#include <ctime>

#include "edb/text_codec.h"
#include "export/atomic_file.h"
#include "export/mbox_writer.h"
#include "items/file_time.h"

namespace velmor {

namespace {

constexpr char kEnvelopeLine[] = "From MAILER-DAEMON ";
constexpr int kFileNumberDigits = 5;

std::string FileName(size_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "%0*zu.eml", kFileNumberDigits, number);
    return name;
}

// "From MAILER-DAEMON Mon Dec  7 08:10:00 2026": the envelope line, in UTC.
std::string EnvelopeLine(const RecoveredMessage& message, time_t exportTime) {
    time_t seconds = exportTime;
    if (message.summary.fileTime) {
        seconds = static_cast<time_t>(FileTimeToUnixSeconds(message.summary.fileTime));
    }
    std::tm utc{};
    char when[64] = "Thu Jan  1 00:00:00 1970";
    if (gmtime_r(&seconds, &utc) != nullptr) {
        std::strftime(when, sizeof when, "%a %b %e %H:%M:%S %Y", &utc);
    }
    return std::string(kEnvelopeLine) + when + "\n";
}

}  // namespace

RecoveredExportResult ExportRecoveredMessages(RecoveredMessages& messages, bool eml, bool mbox,
                                              const std::filesystem::path& directory,
                                              const EdbFile* database,
                                              const std::function<bool()>& stopRequested) {
    RecoveredExportResult result;
    result.directory = directory / std::filesystem::path(Utf16ToUtf8(kStreamingEntryName));
    std::error_code error;
    std::filesystem::create_directories(result.directory, error);
    if (!std::filesystem::is_directory(result.directory, error)) {
        result.error = "cannot make the directory " + result.directory.string();
        return result;
    }
    const time_t exportTime = std::time(nullptr);
    AtomicFile mboxFile(result.directory, database);
    if (mbox && !mboxFile.Open()) {
        result.error = mboxFile.error();
        return result;
    }
    for (size_t i = 0; i < messages.messages().size(); ++i) {
        if (stopRequested && stopRequested()) {
            result.stopped = true;
            break;
        }
        const std::optional<std::string> bytes = messages.Bytes(i);
        if (!bytes) {
            ++result.unreadable;
            continue;
        }
        if (eml) {
            AtomicFile file(result.directory, database);
            if (!file.Open() || !file.Write(*bytes) || !file.Commit(FileName(i + 1))) {
                result.error = file.error();
                return result;
            }
        }
        if (mbox) {
            std::string entry =
                EnvelopeLine(messages.messages()[i], exportTime) + MboxrdQuote(*bytes);
            if (!entry.ends_with('\n')) {
                entry += '\n';
            }
            if (!mboxFile.Write(entry + "\n")) {
                result.error = mboxFile.error();
                return result;
            }
        }
        ++result.written;
    }
    // A stopped export writes no mbox file rather than one that lacks messages.
    if (mbox && !result.stopped && !mboxFile.Commit(kMboxFileName)) {
        result.error = mboxFile.error();
    }
    return result;
}

}  // namespace velmor
