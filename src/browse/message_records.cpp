#include "browse/message_records.h"

#include "items/record_block.h"

namespace velmor {

void ForEachReadableMessageRecord(ProcessingContext& context, const std::u16string& itemId,
                                  const std::function<void(const PageView& block)>& read) {
    PageBuffer buffer{};
    const PageView block(buffer);
    context.store.messageIndex.ForEachWithId(itemId, [&](const MessageIndexEntry& entry) {
        if (context.stop.requested()) {
            return false;
        }
        if (ReadablePosition(context.file, entry.recordPosition) &&
            ReadRecordBlock(context.file, entry.recordPosition, buffer)) {
            read(block);
        }
        return true;
    });
}

}  // namespace velmor
