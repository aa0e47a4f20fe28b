#include "cli/streaming_entry.h"

#include <cstdio>
#include <vector>

#include "browse/folder_kind.h"
#include "browse/item_images.h"
#include "cli/export_report.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "edb/text_codec.h"
#include "export/recovered_messages_export.h"
#include "items/item_date.h"
#include "streaming/file_byte_source.h"
#include "streaming/mime_structure.h"
#include "streaming/recovered_message_rows.h"
#include "streaming/streaming_file_path.h"

namespace velmor::cli {

namespace {

// The tree image of an ordinary folder.
constexpr int kOrdinaryFolderImage = 0;

std::u16string Utf16(const std::string& utf8) {
    return Utf8ToUtf16(utf8);
}

int NoSuchFolder(const std::string& path) {
    return UsageError("no folder with the path '" + path + "'; see velmor-cli folders");
}

}  // namespace

StreamingFileChoice StreamingFileOf(const CliOptions& options) {
    const bool named = options.streamingFile.has_value();
    const std::optional<std::filesystem::path> file =
        named ? std::filesystem::path(*options.streamingFile)
              : StreamingFileBeside(options.arguments.front());
    if (!file || FileByteSource().Open(*file)) {
        return {file, false};
    }
    if (named) {
        std::fprintf(stderr, "velmor-cli: cannot read the streaming file %s\n", file->c_str());
        return {std::nullopt, true};
    }
    std::fprintf(stderr,
                 "velmor-cli: warning: the streaming file %s cannot be read; it is left out\n",
                 file->c_str());
    return {};
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
              ", \"columns\": " + JsonArray(RecoveredListHeadings()) + ", \"rows\": [";
        for (size_t i = 0; i < list.size(); ++i) {
            out += (i == 0 ? "" : ", ") + std::string("{\"image\": ") + std::to_string(kMailImage) +
                   ", \"cells\": " + JsonArray(RecoveredListCells(i + 1, list[i])) + "}";
        }
        out += "]}\n";
    } else {
        out = TabSeparated(RecoveredListHeadings());
        for (size_t i = 0; i < list.size(); ++i) {
            out += TabSeparated(RecoveredListCells(i + 1, list[i]));
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
    std::string note = message.incompleteReason.empty() ? std::string()
                                                        : "incomplete: " + message.incompleteReason;
    if (message.summary.partsCut) {
        note += (note.empty() ? "" : ". ") + PartsCutNote();
    }
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
    const RecoveredExportResult result =
        ExportRecoveredMessages(messages, formats, directory, database);
    if (result.unreadable != 0) {
        std::fprintf(stderr,
                     "velmor-cli: %zu messages cannot be read from the streaming file again\n",
                     result.unreadable);
    }
    FolderExportResult folder;
    folder.path = StreamingFolderPath();
    folder.directory = result.directory;
    folder.folderKind = kMailFolder;
    folder.items = result.written;
    folder.files = result.files;
    folder.error = result.error;
    ExportReport report(directory, options.json);
    report.Add(folder);
    if (result.pst) {
        report.SetPst(*result.pst);
    }
    if (!result.error.empty()) {
        std::fprintf(stderr, "velmor-cli: %s\n", PlainText(Utf8ToUtf16(result.error)).c_str());
    }
    std::fputs(report.Text().c_str(), stdout);
    return result.error.empty() ? kExitOk : kExitFailure;
}

}  // namespace velmor::cli
