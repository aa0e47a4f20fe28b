#include "streaming/matched_message_content.h"

#include "edb/text_codec.h"
#include "streaming/mime_structure.h"
#include "streaming/original_headers.h"

namespace velmor {

bool UseCarvedOriginal(MessageContent& content, RecoveredMessages& messages,
                       const std::u16string& itemId) {
    const RecoveredMessage* original = messages.MatchedMessage(itemId);
    const std::optional<std::string> bytes =
        original ? messages.MatchedBytes(itemId) : std::nullopt;
    const std::optional<MimeBody> body = bytes ? ReadMimeBody(*bytes) : std::nullopt;
    if (!body) {
        return false;
    }
    MailBody carved;
    if (body->text) {
        carved.text = Utf8ToUtf16(*body->text);
    }
    if (body->html) {
        carved.html = Utf8ToUtf16(*body->html);
    }
    if (!body->text && !body->html) {
        carved.text = kNoTextBody;
    }
    carved.note = kMatchedOriginalNote;
    if (!original->incompleteReason.empty()) {
        carved.note += u" Incomplete: " + Utf8ToUtf16(original->incompleteReason) + u".";
    }
    if (original->summary.partsCut) {
        carved.note += u" " + Utf8ToUtf16(PartsCutNote());
    }
    content.body = std::move(carved);
    content.details.hasAttachments = original->summary.attachmentCount > 0;
    UseOriginalHeaders(content.details, *bytes);
    return true;
}

}  // namespace velmor
