#include "cli/streaming_entry.h"

#include <cstdio>
#include <ctime>
#include <vector>

#include "browse/folder_kind.h"
#include "browse/item_images.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "edb/text_codec.h"
#include "export/atomic_file.h"
#include "export/mbox_writer.h"
#include "items/item_date.h"
#include "streaming/streaming_file_path.h"

namespace velmor::cli {

namespace {

constexpr char kEnvelopeLine[] = "From MAILER-DAEMON ";
constexpr int kFileNumberDigits = 5;
// The tree image of an ordinary folder.
constexpr int kOrdinaryFolderImage = 0;

std::u16string Utf16(const std::string& utf8) {
    return Utf8ToUtf16(utf8);
}

std::vector<std::u16string> Headings() {
    return {u"No", u"From", u"Subject", u"Date/Time", u"Attachments", u"Status"};
}

std::vector<std::u16string> Cells(size_t row, const RecoveredMessage& message) {
    return {Utf16(std::to_string(row)),
            Utf16(message.summary.from),
            Utf16(message.summary.subject),
            message.summary.fileTime ? FormatFileTime(message.summary.fileTime) : u"",
            Utf16(std::to_string(message.summary.attachments.size())),
            Utf16(message.incompleteReason.empty() ? "complete"
                                                   : "incomplete: " + message.incompleteReason)};
}

std::string TabSeparated(const std::vector<std::u16string>& texts) {
    std::string line;
    for (size_t i = 0; i < texts.size(); ++i) {
        line += (i == 0 ? "" : "\t") + PlainText(texts[i]);
    }
    return line + "\n";
}

std::string JsonArray(const std::vector<std::u16string>& texts) {
    std::string array = "[";
    for (size_t i = 0; i < texts.size(); ++i) {
        array += (i == 0 ? "" : ", ") + JsonString(texts[i]);
    }
    return array + "]";
}

int NoSuchFolder(const std::string& path) {
    return UsageError("no folder with the path '" + path + "'; see velmor-cli folders");
}

std::string FileName(size_t number) {
    char name[32];
    std::snprintf(name, sizeof(name), "%0*zu.eml", kFileNumberDigits, number);
    return name;
}

// "From MAILER-DAEMON Mon Dec  7 08:10:00 2026": the envelope line, in UTC.
std::string EnvelopeLine(const RecoveredMessage& message, time_t exportTime) {
    constexpr uint64_t kTicksPerSecond = 10000000;
    constexpr int64_t kEpochDifferenceSeconds = 11644473600;
    time_t seconds = exportTime;
    if (message.summary.fileTime) {
        seconds =
            static_cast<time_t>(static_cast<int64_t>(message.summary.fileTime / kTicksPerSecond) -
                                kEpochDifferenceSeconds);
    }
    std::tm utc{};
    char when[64] = "Thu Jan  1 00:00:00 1970";
    if (gmtime_r(&seconds, &utc) != nullptr) {
        std::strftime(when, sizeof when, "%a %b %e %H:%M:%S %Y", &utc);
    }
    return std::string(kEnvelopeLine) + when + "\n";
}

bool Commit(AtomicFile& file, const std::string& name) {
    if (!file.Commit(name)) {
        std::fprintf(stderr, "velmor-cli: %s\n", file.error().c_str());
        return false;
    }
    return true;
}

}  // namespace

std::optional<std::filesystem::path> StreamingFileOf(const CliOptions& options) {
    if (options.streamingFile) {
        return std::filesystem::path(*options.streamingFile);
    }
    return StreamingFileBeside(options.arguments.front());
}

bool IsStreamingFolderPath(const std::string& path) {
    return Utf16(path) == StreamingFolderPath() || PlainText(StreamingFolderPath()) == path;
}

std::u16string StreamingFolderPath() {
    return std::u16string(kStreamingEntryName) + u"\\";
}

std::string StreamingEntryLine(size_t row, bool json) {
    if (json) {
        return "{\"no\": " + std::to_string(row) +
               ", \"name\": " + JsonString(std::u16string(kStreamingEntryName)) +
               ", \"key\": \"\", \"kind\": " + JsonString(kStreamingEntryKind) + "}";
    }
    return std::to_string(row) + "\t" + PlainText(kStreamingEntryName) + "\t" +
           kStreamingEntryKind + "\n";
}

int PrintStreamingFolders(const CliOptions& options) {
    const std::u16string path = StreamingFolderPath();
    const std::string image = std::to_string(kOrdinaryFolderImage);
    if (options.json) {
        std::fputs(("{\"root\": " + JsonString(std::u16string(kStreamingEntryName)) +
                    ", \"folders\": [{\"path\": " + JsonString(path) + ", \"image\": " + image +
                    ", \"folderId\": \"\", \"containerClass\": \"IPF.Note\", \"tableObjectId\": "
                    "0}]}\n")
                       .c_str(),
                   stdout);
    } else {
        std::fputs((PlainText(path) + "\t" + image + "\t\tIPF.Note\t0\n").c_str(), stdout);
    }
    return kExitOk;
}

int PrintStreamingItems(const CliOptions& options, const RecoveredMessages& messages,
                        const std::string& path) {
    if (!IsStreamingFolderPath(path)) {
        return NoSuchFolder(path);
    }
    const auto& list = messages.messages();
    std::string out;
    if (options.json) {
        out = "{\"kind\": " + std::to_string(kMailFolder) +
              ", \"columns\": " + JsonArray(Headings()) + ", \"rows\": [";
        for (size_t i = 0; i < list.size(); ++i) {
            out += (i == 0 ? "" : ", ") + std::string("{\"image\": ") + std::to_string(kMailImage) +
                   ", \"cells\": " + JsonArray(Cells(i + 1, list[i])) + "}";
        }
        out += "]}\n";
    } else {
        out = TabSeparated(Headings());
        for (size_t i = 0; i < list.size(); ++i) {
            out += TabSeparated(Cells(i + 1, list[i]));
        }
    }
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

int PrintStreamingMessage(const CliOptions& options, RecoveredMessages& messages,
                          const std::string& path, int number) {
    if (!IsStreamingFolderPath(path)) {
        return NoSuchFolder(path);
    }
    if (static_cast<size_t>(number) > messages.messages().size()) {
        return UsageError("no row " + std::to_string(number) +
                          " in the folder; see velmor-cli items");
    }
    const size_t index = static_cast<size_t>(number - 1);
    const RecoveredMessage& message = messages.messages()[index];
    const std::optional<std::string> bytes = messages.Bytes(index);
    const std::optional<MimeBody> body = bytes ? ReadMimeBody(*bytes) : std::nullopt;
    if (!body) {
        std::fprintf(stderr, "velmor-cli: row %d cannot be read from the streaming file\n", number);
        return kExitFailure;
    }
    const std::u16string date =
        message.summary.fileTime ? FormatFileTime(message.summary.fileTime) : u"";
    const std::string note = message.incompleteReason.empty()
                                 ? std::string()
                                 : "incomplete: " + message.incompleteReason;
    if (options.json) {
        const auto jsonOrNull = [](const std::optional<std::string>& text) {
            return text ? JsonString(*text) : std::string("null");
        };
        std::fputs(("{\"no\": " + std::to_string(number) + ", \"from\": " +
                    JsonString(message.summary.from) + ", \"to\": " + JsonString(body->to) +
                    ", \"subject\": " + JsonString(message.summary.subject) + ", \"date\": " +
                    JsonString(date) + ", \"body\": {\"text\": " + jsonOrNull(body->text) +
                    ", \"html\": " + jsonOrNull(body->html) +
                    ", \"rtf\": null, \"missingBytes\": 0, \"note\": " +
                    (note.empty() ? "null" : JsonString(note)) + "}}\n")
                       .c_str(),
                   stdout);
        return kExitOk;
    }
    std::string out = "From: " + PlainText(Utf16(message.summary.from)) +
                      "\nTo: " + PlainText(Utf16(body->to)) + "\nDate: " + PlainText(date) +
                      "\nSubject: " + PlainText(Utf16(message.summary.subject)) + "\n";
    if (!note.empty()) {
        out += "Note: " + note + "\n";
    }
    out += "\n" + body->text.value_or(body->html.value_or(""));
    if (!out.ends_with('\n')) {
        out += '\n';
    }
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

int ExportStreamingMessages(const CliOptions& options, RecoveredMessages& messages,
                            const ExportFormats& formats, const std::filesystem::path& directory,
                            const EdbFile* database) {
    for (size_t i = 3; i < options.arguments.size(); ++i) {
        if (!IsStreamingFolderPath(options.arguments[i])) {
            return NoSuchFolder(options.arguments[i]);
        }
    }
    if (formats.csv || formats.pst) {
        std::fputs("velmor-cli: the streaming file's messages are written as eml and mbox only\n",
                   stderr);
    }
    const std::filesystem::path relative = Utf16ToUtf8(kStreamingEntryName);
    const std::filesystem::path target = directory / relative;
    std::error_code error;
    std::filesystem::create_directories(target, error);
    if (!std::filesystem::is_directory(target, error)) {
        std::fprintf(stderr, "velmor-cli: cannot make the directory %s\n", target.c_str());
        return kExitFailure;
    }
    const time_t exportTime = std::time(nullptr);
    AtomicFile mbox(target, database);
    if (formats.mbox && !mbox.Open()) {
        std::fprintf(stderr, "velmor-cli: %s\n", mbox.error().c_str());
        return kExitFailure;
    }
    size_t written = 0;
    for (size_t i = 0; i < messages.messages().size(); ++i) {
        const std::optional<std::string> bytes = messages.Bytes(i);
        if (!bytes) {
            std::fprintf(stderr, "velmor-cli: message %zu cannot be read from the streaming file\n",
                         i + 1);
            continue;
        }
        if (formats.eml) {
            AtomicFile eml(target, database);
            if (!eml.Open() || !eml.Write(*bytes) || !Commit(eml, FileName(i + 1))) {
                return kExitFailure;
            }
        }
        if (formats.mbox) {
            std::string entry =
                EnvelopeLine(messages.messages()[i], exportTime) + MboxrdQuote(*bytes);
            if (!entry.ends_with('\n')) {
                entry += '\n';
            }
            if (!mbox.Write(entry + "\n")) {
                std::fprintf(stderr, "velmor-cli: %s\n", mbox.error().c_str());
                return kExitFailure;
            }
        }
        ++written;
    }
    if (formats.mbox && !Commit(mbox, kMboxFileName)) {
        return kExitFailure;
    }
    std::fputs((PlainText(StreamingFolderPath()) + "\t" + relative.string() + "\t" +
                std::to_string(written) + "\n")
                   .c_str(),
               stdout);
    return kExitOk;
}

}  // namespace velmor::cli
