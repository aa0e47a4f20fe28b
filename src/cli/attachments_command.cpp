#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>

#include "browse/plain_item_list.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"
#include "export/atomic_file.h"
#include "streaming/mime_structure.h"

namespace velmor::cli {

namespace {

// A whole number from 1, or nothing.
std::optional<size_t> ParseRowNumber(const std::string& text) {
    size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 1) {
        return std::nullopt;
    }
    return value;
}

// The attachments of the mail in row NO of PATH, with its bytes when it has any. The exit
// status: kExitOk when the row is a mail.
struct AttachedMail {
    std::vector<MimeAttachment> attachments;
    std::string bytes;  // the message the attachments come from
    bool partsCut = false;
};

// The mail's original from the streaming file, read again for row number.
int TakeOriginal(std::optional<std::string> bytes, size_t number, AttachedMail& mail) {
    if (!bytes) {
        std::fprintf(stderr, "velmor-cli: row %zu cannot be read from the streaming file\n",
                     number);
        return kExitFailure;
    }
    if (std::optional<MimeParts> parts = ReadMimeParts(*bytes)) {
        mail.attachments = std::move(parts->attachments);
        mail.partsCut = parts->partsCut;
    }
    mail.bytes = std::move(*bytes);
    return kExitOk;
}

int FindMail(const CliOptions& options, MailboxTree& mailbox, AttachedMail& mail) {
    const auto number = ParseRowNumber(options.arguments[3]);
    if (!number) {
        return UsageError("NO is a row number of the item list, from 1");
    }
    if (const int status = mailbox.Load(options); status != kExitOk) {
        return status;
    }
    const std::string& path = options.arguments[2];
    if (mailbox.streamingEntry()) {
        RecoveredMessages& messages = mailbox.recoveredMessages();
        if (!IsStreamingFolderPath(path)) {
            return UsageError("no folder with the path '" + path + "'; see velmor-cli folders");
        }
        if (*number > messages.messages().size()) {
            return UsageError("no row " + options.arguments[3] +
                              " in the folder; see velmor-cli items");
        }
        return TakeOriginal(messages.Bytes(*number - 1), *number, mail);
    }
    // The database keeps no attachment bytes the program reads: only a mail whose original
    // the streaming file holds lists its attachments.
    PlainItemList list;
    int folderKind = 0;
    if (const int status = mailbox.ListFolder(path, list, folderKind); status != kExitOk) {
        return status;
    }
    if (*number > list.rows().size()) {
        return UsageError("no row " + options.arguments[3] +
                          " in the folder; see velmor-cli items");
    }
    const std::u16string& itemId = list.rows()[*number - 1].itemId;
    if (mailbox.recoveredMessages().MatchedMessage(itemId) != nullptr) {
        return TakeOriginal(mailbox.recoveredMessages().MatchedBytes(itemId), *number, mail);
    }
    return kExitOk;
}

}  // namespace

int RunAttachmentsCommand(const CliOptions& options) {
    MailboxTree mailbox;
    AttachedMail mail;
    if (const int status = FindMail(options, mailbox, mail); status != kExitOk) {
        return status;
    }
    if (mail.partsCut) {
        std::fprintf(stderr, "velmor-cli: %s\n", PartsCutNote().c_str());
    }
    std::string out = options.json ? "{\"attachments\": [" : "";
    for (size_t i = 0; i < mail.attachments.size(); ++i) {
        const MimeAttachment& attachment = mail.attachments[i];
        if (options.json) {
            out += (i == 0 ? "" : ", ") + std::string("{\"index\": ") + std::to_string(i + 1) +
                   ", \"name\": " + JsonString(attachment.name) +
                   ", \"type\": " + JsonString(attachment.type) +
                   ", \"size\": " + std::to_string(attachment.size) + "}";
        } else {
            out += std::to_string(i + 1) + "\t" + PlainText(Utf8ToUtf16(attachment.name)) + "\t" +
                   PlainText(Utf8ToUtf16(attachment.type)) + "\t" +
                   std::to_string(attachment.size) + "\n";
        }
    }
    out += options.json ? "]}\n" : "";
    std::fputs(out.c_str(), stdout);
    return kExitOk;
}

int RunAttachmentCommand(const CliOptions& options) {
    const auto index = ParseRowNumber(options.arguments[4]);
    if (!index) {
        return UsageError("INDEX is an attachment's number, from 1");
    }
    const std::filesystem::path target = options.arguments[5];
    // A link counts as a file there, even one that leads nowhere.
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(target, error)) ||
        target.filename().empty()) {
        std::fprintf(stderr, "velmor-cli: %s exists or names no file; nothing was written\n",
                     target.c_str());
        return kExitFailure;
    }
    MailboxTree mailbox;
    AttachedMail mail;
    if (const int status = FindMail(options, mailbox, mail); status != kExitOk) {
        return status;
    }
    if (*index > mail.attachments.size()) {
        return UsageError("no attachment " + options.arguments[4] + "; see velmor-cli attachments");
    }
    const std::optional<std::string> content = AttachmentContent(mail.bytes, *index - 1);
    if (!content) {
        std::fprintf(stderr, "velmor-cli: attachment %zu cannot be read\n", *index);
        return kExitFailure;
    }
    const std::filesystem::path directory =
        target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    AtomicFile file(directory, &mailbox.session().file());
    if (!file.Open() || !file.Write(*content) || !file.CommitExactly(target.filename().string())) {
        std::fprintf(stderr, "velmor-cli: %s\n", file.error().c_str());
        return kExitFailure;
    }
    return kExitOk;
}

}  // namespace velmor::cli
