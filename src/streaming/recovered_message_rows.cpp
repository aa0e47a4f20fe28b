#include "streaming/recovered_message_rows.h"

#include "edb/text_codec.h"
#include "items/item_date.h"
#include "streaming/mime_structure.h"

namespace velmor {

namespace {

constexpr char16_t kFromStreamingFileNote[] = u"Read from the streaming file.";

std::u16string DateText(const RecoveredMessage& message) {
    return message.summary.fileTime ? FormatFileTime(message.summary.fileTime) : u"";
}

std::string StatusText(const RecoveredMessage& message) {
    return message.incompleteReason.empty() ? "complete"
                                            : "incomplete: " + message.incompleteReason;
}

}  // namespace

std::vector<std::u16string> RecoveredListHeadings() {
    return {u"No", u"From", u"Subject", u"Date/Time", u"Attachments", u"Status"};
}

std::vector<std::u16string> RecoveredListCells(size_t row, const RecoveredMessage& message) {
    return {Utf8ToUtf16(std::to_string(row)),
            Utf8ToUtf16(message.summary.from),
            Utf8ToUtf16(message.summary.subject),
            DateText(message),
            Utf8ToUtf16(std::to_string(message.summary.attachmentCount)),
            Utf8ToUtf16(StatusText(message))};
}

std::optional<MessageContent> RecoveredMessageContent(RecoveredMessages& messages, size_t index) {
    const std::optional<std::string> bytes = messages.Bytes(index);
    const std::optional<MimeBody> body = bytes ? ReadMimeBody(*bytes) : std::nullopt;
    if (!body) {
        return std::nullopt;
    }
    const RecoveredMessage& message = messages.messages()[index];
    MessageContent content;
    content.from = Utf8ToUtf16(message.summary.from);
    content.to = Utf8ToUtf16(body->to);
    content.subject = Utf8ToUtf16(message.summary.subject);
    content.date = DateText(message);
    if (body->text) {
        content.body.text = Utf8ToUtf16(*body->text);
    }
    if (body->html) {
        content.body.html = Utf8ToUtf16(*body->html);
    }
    content.body.note = kFromStreamingFileNote;
    if (!message.incompleteReason.empty()) {
        content.body.note += u" " + Utf8ToUtf16(StatusText(message)) + u".";
    }
    if (message.summary.partsCut) {
        content.body.note += u" " + Utf8ToUtf16(PartsCutNote());
    }
    return content;
}

}  // namespace velmor
