#include "export/carved_original_record.h"

#include "edb/text_codec.h"
#include "streaming/mime_summary.h"
#include "streaming/original_headers.h"

namespace velmor {

std::function<void(ExportRecord&, const ListedItem&)> CarvedOriginalCompletion(
    RecoveredMessages& messages) {
    return [&messages](ExportRecord& record, const ListedItem&) {
        if (messages.MatchedMessage(record.itemId) == nullptr) {
            return;
        }
        std::optional<std::string> bytes = messages.MatchedBytes(record.itemId);
        const std::optional<MimeBody> body = bytes ? ReadMimeBody(*bytes) : std::nullopt;
        if (!body) {
            return;
        }
        record.bodyText = body->text ? std::optional(Utf8ToUtf16(*body->text)) : std::nullopt;
        record.bodyHtml = body->html ? std::optional(Utf8ToUtf16(*body->html)) : std::nullopt;
        UseOriginalHeaders(record.details, *bytes);
        record.originalMime = std::move(bytes);
    };
}

}  // namespace velmor
