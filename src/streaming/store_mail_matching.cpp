#include "streaming/store_mail_matching.h"

#include <unordered_set>

#include "browse/column_value.h"
#include "browse/message_records.h"
#include "browse/record_block_walk.h"
#include "edb/stored_text_decoder.h"
#include "edb/stored_value.h"
#include "edb/text_codec.h"
#include "items/length_prefixed_text.h"

namespace velmor {

namespace {

// The walk's bounds, as the mail list reads the record.
constexpr int64_t kTextDataLimit = 256;
constexpr int kMaxEntries = 80;

// A named column's text, only when read whole.
std::string WholeText(const ColumnValue& value) {
    if (!value.present || value.missingBytes != 0 || value.capped) {
        return {};
    }
    return Utf16ToUtf8(DecodeStoredText(value.bytes).text);
}

// Takes from one record block what keys still lacks: only the four columns the matching
// compares are read, so that a store's mails are matched without their bodies or headers.
void ReadRecordKeys(ProcessingContext& context, const PageView& block, MailMatchKeys& keys) {
    const SchemaIds& schema = context.store.schema;
    WalkRecordBlock(block, kMaxEntries, context.stop, [&](const BlockEntry& e) {
        const int64_t v = e.s + 1;
        const bool inLine = v > 0 && v < PAGE_SIZE && e.n < kTextDataLimit;
        if (e.column == kRecordSubjectColumn && inLine && keys.subject.empty()) {
            keys.subject = Utf16ToUtf8(DecodeStoredString(block, v, e.n - 1));
        } else if ((e.column == kRecordSenderColumn || e.column == kRecordSenderAltColumn) &&
                   inLine && keys.senderName.empty()) {
            keys.senderName = Utf16ToUtf8(DecodeLengthPrefixedText(block, v, e.n - 1));
        } else if (schema.is(MessageColumn::S1035, e.column) && keys.messageId.empty()) {
            keys.messageId = WholeText(ReadColumnValue(context, block, e));
        } else if (schema.is(MessageColumn::S0c1f, e.column) && keys.senderAddress.empty()) {
            keys.senderAddress = WholeText(ReadColumnValue(context, block, e));
        }
        return true;
    });
}

}  // namespace

MailMatchKeys ReadMailMatchKeys(ProcessingContext& context, const std::u16string& itemId,
                                uint64_t fileTime) {
    MailMatchKeys keys;
    keys.fileTime = fileTime == kNoFileTime ? 0 : fileTime;
    ForEachReadableMessageRecord(
        context, itemId, [&](const PageView& block) { ReadRecordKeys(context, block, keys); });
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
