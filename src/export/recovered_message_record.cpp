#include "export/recovered_message_record.h"

#include "browse/folder_kind.h"
#include "browse/message_details.h"
#include "browse/stored_message_fields.h"
#include "edb/text_codec.h"
#include "streaming/mime_summary.h"
#include "streaming/recovered_message_rows.h"

namespace velmor {

namespace {

// The message's header block: everything before its first empty line, at most
// kMaxHeaderBlockBytes of it (cut at a character boundary).
std::string_view HeaderBlock(std::string_view message) {
    for (const std::string_view end : {"\r\n\r\n", "\n\n"}) {
        if (const size_t at = message.find(end); at != std::string_view::npos) {
            message = message.substr(0, at + end.size() / 2);
            break;
        }
    }
    if (message.size() <= kMaxHeaderBlockBytes) {
        return message;
    }
    size_t cut = kMaxHeaderBlockBytes;
    while (cut > 0 && IsUtf8ContinuationByte(message[cut])) {
        --cut;
    }
    return message.substr(0, cut);
}

}  // namespace

std::optional<ExportRecord> RecoveredMessageRecord(RecoveredMessages& messages, size_t index) {
    std::optional<std::string> bytes = messages.Bytes(index);
    if (!bytes) {
        return std::nullopt;
    }
    const RecoveredMessage& message = messages.messages()[index];
    const MimeSummary& summary = message.summary;
    ExportRecord record;
    record.folderKind = kMailFolder;
    record.rowNumber = static_cast<int>(index + 1);
    record.cells = RecoveredListCells(index + 1, message);
    if (summary.fileTime != 0) {
        record.fileTime = summary.fileTime;
    }
    record.sender = Utf8ToUtf16(summary.fromName.empty() ? summary.fromAddress : summary.fromName);
    record.subject = Utf8ToUtf16(summary.subject);
    if (const std::optional<MimeBody> body = ReadMimeBody(*bytes)) {
        if (body->text) {
            record.bodyText = Utf8ToUtf16(*body->text);
        }
        if (body->html) {
            record.bodyHtml = Utf8ToUtf16(*body->html);
        }
        if (!body->to.empty()) {
            record.recipients = {Utf8ToUtf16(body->to)};
        }
    }
    StoredMessageFields fields;
    fields.internetHeaders = Utf8ToUtf16(std::string(HeaderBlock(*bytes)));
    record.details = CombineMessageDetails(fields, record.sender, record.recipients);
    record.details.hasAttachments = summary.attachmentCount > 0;
    record.originalMime = std::move(bytes);
    return record;
}

}  // namespace velmor
