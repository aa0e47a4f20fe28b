#include "search/matched_original_fields.h"

#include "search/mime_search_fields.h"

namespace velmor {

bool TakeMatchedOriginal(RecoveredMessages& messages, SearchFields& fields) {
    const RecoveredMessage* original = messages.MatchedMessage(fields.itemId);
    const std::optional<std::string> bytes =
        original ? messages.MatchedBytes(fields.itemId) : std::nullopt;
    const std::optional<MimeBody> body = bytes ? ReadMimeBody(*bytes) : std::nullopt;
    if (!body) {
        return false;
    }
    fields.body = MimeBodyWords(*body);
    fields.attachmentNames = MimeAttachmentNames(*bytes);
    fields.hasAttachments = fields.hasAttachments || original->summary.attachmentCount > 0;
    return true;
}

}  // namespace velmor
