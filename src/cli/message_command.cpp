#include <charconv>
#include <cstdio>
#include <string>

#include "browse/message_content.h"
#include "browse/plain_item_list.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/mailbox_tree.h"
#include "cli/plain_text.h"
#include "cli/streaming_entry.h"
#include "edb/text_codec.h"

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

void PrintPlain(const MessageContent& message) {
    // Header values come from damaged pages: one line each, whatever they hold.
    std::string out = "From: " + PlainText(message.from) + "\nTo: " + PlainText(message.to) +
                      "\nDate: " + PlainText(message.date) +
                      "\nSubject: " + PlainText(message.subject) + "\n";
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

void PrintJson(int number, const MessageContent& message) {
    const MailBody& body = message.body;
    const std::string out =
        "{\"no\": " + std::to_string(number) + ", \"from\": " + JsonString(message.from) +
        ", \"to\": " + JsonString(message.to) + ", \"subject\": " + JsonString(message.subject) +
        ", \"date\": " + JsonString(message.date) +
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
    const MessageContent message =
        ReadMessageContent(context, row.itemId, row.cells[kSubjectCell], row.cells[kDateCell]);
    options.json ? PrintJson(number, message) : PrintPlain(message);
    return kExitOk;
}

}  // namespace velmor::cli
