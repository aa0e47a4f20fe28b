#include "browse/mail_details.h"

#include "browse/message_records.h"
#include "browse/recipient_list.h"
#include "browse/record_block_walk.h"
#include "edb/stored_value.h"
#include "items/length_prefixed_text.h"
#include "items/record_block.h"

namespace velmor {

namespace {

constexpr int kMaxDetailsEntries = 20;
constexpr uint16_t kRecipientListColumn = 0x11A;
constexpr int64_t kTextDataLimit = 256;
constexpr int64_t kRecipientDataLimit = 1000;
constexpr int64_t kOutOfLineLength = 5;  // header byte and a 4-byte long-value id
constexpr int64_t kShortestMarker = 7;
constexpr int64_t kMarkerDataLimit = 2000;

bool InBlock(int64_t v) {
    return v > 0 && v < PAGE_SIZE;
}

}  // namespace

MailDetails ReadMailDetails(ProcessingContext& context, const std::u16string& itemId,
                            bool sentOrOutbox, LongValueRecipients& outOfLine,
                            const SettledMailForms& columnForms) {
    MailDetails details;
    if (context.stop.requested()) {
        return details;
    }
    const SchemaIds& schema = context.store.schema;
    PageBuffer buffer{};
    const PageView block(buffer);
    bool failed = false;
    context.store.messageIndex.ForEachWithId(itemId, [&](const MessageIndexEntry& entry) {
        if (!ReadablePosition(context.file, entry.recordPosition)) {
            return true;
        }
        if (!ReadRecordBlock(context.file, entry.recordPosition, buffer)) {
            failed = true;
            return false;
        }
        const bool walked =
            WalkRecordBlock(block, kMaxDetailsEntries, context.stop, [&](BlockEntry e) {
                const int64_t v = e.s + 1;
                const bool textValue = InBlock(v) && e.n < kTextDataLimit;
                if (e.column == kRecordSubjectColumn && textValue &&
                    details.subjectFallback.empty()) {
                    details.subjectFallback =
                        DecodeStoredText(block.bytes(v, e.n - 1), columnForms.subject).text;
                } else if ((e.column == kRecordSenderColumn ||
                            e.column == kRecordSenderAltColumn) &&
                           textValue && details.sender.empty()) {
                    details.sender = LengthPrefixedText(LengthPrefixedBytes(block, v, e.n - 1),
                                                        columnForms.sender)
                                         .text;
                }
                if (sentOrOutbox && e.column == kRecipientListColumn && InBlock(v) &&
                    e.n < kRecipientDataLimit) {
                    if (e.n == kOutOfLineLength) {
                        // Only a list found on a long-value page replaces what an earlier
                        // recipient column gave.
                        const auto recipients = outOfLine.Read(block.u32(v));
                        if (context.stop.requested()) {
                            failed = true;
                            return false;
                        }
                        if (recipients) {
                            details.recipients = *recipients;
                        }
                    } else {
                        details.recipients = DecodeRecipientNames(block, v, e.n - 1);
                    }
                }
                if (schema.is(MessageColumn::N67b3, e.column) && InBlock(v) &&
                    e.n >= kShortestMarker && e.n < kMarkerDataLimit) {
                    details.marker = true;
                }
                return true;
            });
        if (!walked || failed) {
            failed = true;
            return false;
        }
        return sentOrOutbox ? details.recipients.empty() : details.sender.empty();
    });
    if (failed) {
        details.sender.clear();
    }
    return details;
}

}  // namespace velmor
