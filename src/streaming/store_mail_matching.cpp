#include "streaming/store_mail_matching.h"

#include <unordered_set>

#include "browse/mail_details.h"
#include "browse/stored_message_fields.h"
#include "edb/text_codec.h"

namespace velmor {

MailMatchKeys ReadMailMatchKeys(ProcessingContext& context, const std::u16string& itemId,
                                uint64_t fileTime) {
    const StoredMessageFields fields = ReadStoredMessageFields(context, itemId);
    LongValueRecipients outOfLine(context);
    const MailDetails details = ReadMailDetails(context, itemId, false, outOfLine);
    MailMatchKeys keys;
    keys.messageId = fields.messageId ? Utf16ToUtf8(*fields.messageId) : "";
    keys.subject = Utf16ToUtf8(details.subjectFallback);
    keys.senderName = Utf16ToUtf8(details.sender);
    keys.senderAddress = fields.senderAddress ? Utf16ToUtf8(*fields.senderAddress) : "";
    keys.fileTime = fileTime == kNoFileTime ? 0 : fileTime;
    return keys;
}

void MatchStoreMails(ProcessingContext& context, RecoveredMessages& messages) {
    if (messages.messages().empty()) {
        return;
    }
    const CarvedMessageMatcher matcher(messages.messages());
    std::vector<std::pair<std::u16string, size_t>> matches;
    std::unordered_set<uint64_t> seen;
    for (const MessageIndexEntry& entry : context.store.messageIndex.entries()) {
        if (context.stop.requested()) {
            return;
        }
        if (!seen.insert(entry.itemIdValue).second) {
            continue;
        }
        const std::u16string itemId = entry.itemId();
        if (const auto index = matcher.Match(ReadMailMatchKeys(context, itemId, entry.fileTime))) {
            matches.emplace_back(itemId, *index);
        }
    }
    messages.TakeMatched(matches);
}

}  // namespace velmor
