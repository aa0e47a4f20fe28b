#include <charconv>
#include <cstdio>
#include <string>

#include "browse/folder_tie_form.h"
#include "browse/message_content.h"
#include "browse/plain_item_list.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"
#include "streaming/matched_message_content.h"

namespace velmor::cli {

namespace {

// Cells of a mail row: number, addressee, subject, date.
constexpr size_t kSubjectCell = 2;
constexpr size_t kDateCell = 3;

std::string JsonOrNull(const std::optional<std::u16string>& text) {
    return text ? JsonString(*text) : "null";
}

// RTF is 7-bit text in practice; any 8-bit byte is shown as Windows-1252.
std::u16string RtfAsText(const std::string& rtf) {
    return Windows1252ToUtf16(std::span(reinterpret_cast<const uint8_t*>(rtf.data()), rtf.size()));
}

std::string JsonOrNull(const std::u16string& text) {
    return text.empty() ? "null" : JsonString(text);
}

std::string JsonNumber(const std::optional<uint32_t>& number) {
    return number ? std::to_string(*number) : "null";
}

std::string JsonBoolean(const std::optional<bool>& value) {
    return value ? (*value ? "true" : "false") : "null";
}

std::string JsonAddress(const MessageAddress& address) {
    return "{\"name\": " + JsonString(address.name) +
           ", \"address\": " + JsonOrNull(address.address) + "}";
}

std::string JsonAddressList(const std::vector<MessageAddress>& addresses) {
    std::string list = "[";
    for (const MessageAddress& address : addresses) {
        list += (list.size() > 1 ? ", " : "") + JsonAddress(address);
    }
    return list + "]";
}

std::string PlainLine(const char* label, const std::u16string& value) {
    return std::string(label) + ": " + PlainText(value) + "\n";
}

std::string PlainYesNo(const char* label, const std::optional<bool>& value) {
    return value ? std::string(label) + ": " + (*value ? "yes" : "no") + "\n" : "";
}

// The detail lines after From, To, Date and Subject: each when the mail has it.
std::string PlainDetails(const MessageDetails& details) {
    std::string out;
    const auto line = [&](const char* label, const std::optional<std::u16string>& value) {
        if (value) {
            out += PlainLine(label, *value);
        }
    };
    if (!details.cc.empty()) {
        out += PlainLine("Cc", AddressListText(details.cc));
    }
    if (!details.bcc.empty()) {
        out += PlainLine("Bcc", AddressListText(details.bcc));
    }
    if (!details.replyTo.empty()) {
        out += PlainLine("Reply-To", AddressListText(details.replyTo));
    }
    line("Message-ID", details.messageId);
    line("In-Reply-To", details.inReplyTo);
    line("References", details.references);
    if (details.importance) {
        out += PlainLine("Importance", ImportanceName(*details.importance));
    }
    if (details.sensitivity) {
        out += PlainLine("Sensitivity", SensitivityName(*details.sensitivity));
    }
    out += PlainYesNo("Read", details.read);
    out += PlainYesNo("Has attachments", details.hasAttachments);
    if (details.size) {
        out += "Size: " + std::to_string(*details.size) + "\n";
    }
    if (details.internetHeaders) {
        // Indented, so that the header lines stay apart from the mail's own.
        out += "Internet headers:\n";
        const std::string headers = Utf16ToUtf8(*details.internetHeaders);
        for (std::string_view rest = headers; !rest.empty();) {
            const size_t end = rest.find('\n');
            std::string_view lineText = rest.substr(0, end);
            if (lineText.ends_with('\r')) {
                lineText.remove_suffix(1);
            }
            if (!lineText.empty()) {
                out += "  " + PlainText(Utf8ToUtf16(lineText)) + "\n";
            }
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
    return out;
}

void PrintPlain(const MessageContent& message) {
    // Header values come from damaged pages: one line each, whatever they hold.
    const MessageDetails& details = message.details;
    std::string out = PlainLine("From", AddressText(details.from)) +
                      PlainLine("To", AddressListText(details.to)) +
                      PlainLine("Date", message.date) + PlainLine("Subject", message.subject) +
                      PlainDetails(details);
    if (!message.body.note.empty()) {
        out += "Note: " + PlainText(message.body.note) + "\n";
    }
    const MailBody& body = message.body;
    out += "\n" + Utf16ToUtf8(body.text ? *body.text : body.best());
    if (!out.ends_with('\n')) {
        out += '\n';
    }
    std::fputs(out.c_str(), stdout);
}

std::string JsonDetails(const MessageDetails& details) {
    const MessageAddress& from = details.from;
    return "\"from\": {\"name\": " + JsonString(from.name) +
           ", \"address\": " + JsonOrNull(from.address) +
           ", \"addressType\": " + JsonOrNull(from.addressType) +
           "}, \"to\": " + JsonAddressList(details.to) +
           ", \"cc\": " + JsonAddressList(details.cc) +
           ", \"bcc\": " + JsonAddressList(details.bcc) +
           ", \"replyTo\": " + JsonAddressList(details.replyTo);
}

std::string JsonState(const MessageDetails& details) {
    return "\"messageId\": " + JsonOrNull(details.messageId) +
           ", \"inReplyTo\": " + JsonOrNull(details.inReplyTo) +
           ", \"references\": " + JsonOrNull(details.references) + ", \"importance\": " +
           (details.importance ? JsonString(ImportanceName(*details.importance)) : "null") +
           ", \"sensitivity\": " +
           (details.sensitivity ? JsonString(SensitivityName(*details.sensitivity)) : "null") +
           ", \"read\": " + JsonBoolean(details.read) +
           ", \"hasAttachments\": " + JsonBoolean(details.hasAttachments) +
           ", \"size\": " + JsonNumber(details.size) +
           ", \"internetHeaders\": " + JsonOrNull(details.internetHeaders);
}

void PrintJson(int number, const MessageContent& message) {
    const MailBody& body = message.body;
    const std::string out =
        "{\"no\": " + std::to_string(number) + ", " + JsonDetails(message.details) +
        ", \"subject\": " + JsonString(message.subject) +
        ", \"date\": " + JsonString(message.date) + ", " + JsonState(message.details) +
        ", \"body\": {\"text\": " + JsonOrNull(body.text) + ", \"html\": " + JsonOrNull(body.html) +
        ", \"rtf\": " + (body.rtf ? JsonString(RtfAsText(*body.rtf)) : "null") +
        ", \"missingBytes\": " + std::to_string(body.missingBytes) +
        ", \"note\": " + (body.note.empty() ? "null" : JsonString(body.note)) + "}}\n";
    std::fputs(out.c_str(), stdout);
}

}  // namespace

int RunMessageCommand(const CliOptions& options) {
    int number = 0;
    const std::string& numberText = options.arguments[3];
    const auto [end, error] =
        std::from_chars(numberText.data(), numberText.data() + numberText.size(), number);
    if (error != std::errc{} || end != numberText.data() + numberText.size() || number < 1) {
        return UsageError("NO is a row number of the item list, from 1");
    }
    MailboxTree mailbox;
    if (const int status = mailbox.Load(options); status != kExitOk) {
        return status;
    }
    if (mailbox.streamingEntry()) {
        return PrintStreamingMessage(options, mailbox.recoveredMessages(), options.arguments[2],
                                     number);
    }
    PlainItemList list;
    int folderKind = 0;
    if (const int status = mailbox.ListFolder(options.arguments[2], list, folderKind);
        status != kExitOk) {
        return status;
    }
    ProcessingContext& context = mailbox.session().context();
    if (static_cast<size_t>(number) > list.rows().size()) {
        return UsageError("no row " + numberText + " in the folder; see velmor-cli items");
    }
    const PlainItemList::Row& row = list.rows()[static_cast<size_t>(number - 1)];
    if (row.itemId.empty() || context.store.messageIndex.FindFirst(row.itemId) == nullptr ||
        row.cells.size() <= kDateCell) {
        std::fprintf(stderr, "velmor-cli: row %d has no message record\n", number);
        return kExitFailure;
    }
    const FolderViewNode* folder =
        context.store.folderViews.FindByTreeItem(mailbox.FindItem(options.arguments[2]));
    MessageContent message = ReadMessageContent(context, row.itemId, row.cells[kSubjectCell],
                                                row.cells[kDateCell], FolderTieForm(folder));
    UseCarvedOriginal(message, mailbox.recoveredMessages(), row.itemId);
    options.json ? PrintJson(number, message) : PrintPlain(message);
    return kExitOk;
}

}  // namespace velmor::cli
