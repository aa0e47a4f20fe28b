#include "browse/record_column_text.h"

#include "browse/record_block_walk.h"
#include "edb/stored_value.h"
#include "items/record_block.h"

namespace velmor {

namespace {

constexpr int kMaxColumnTextEntries = 60;
constexpr int64_t kLastDataStart = 4094;
constexpr int64_t kLongestData = 255;

}  // namespace

std::u16string ReadRecordColumnText(ProcessingContext& context, const std::u16string& itemId,
                                    int32_t column) {
    if (context.stop.requested() || column == 0) {
        return {};
    }
    std::u16string text;
    PageBuffer buffer{};
    const PageView block(buffer);
    context.store.messageIndex.ForEachWithId(itemId, [&](const MessageIndexEntry& entry) {
        if (!ReadablePosition(context.file, entry.recordPosition)) {
            return true;
        }
        if (!ReadRecordBlock(context.file, entry.recordPosition, buffer)) {
            return false;
        }
        const bool walked =
            WalkRecordBlock(block, kMaxColumnTextEntries, context.stop, [&](BlockEntry e) {
                if (e.column == column && e.s <= kLastDataStart && e.n <= kLongestData) {
                    text = DecodeStoredString(block, e.s + 1, e.n - 1);
                }
                return text.empty();
            });
        return walked && text.empty();
    });
    return text;
}

}  // namespace velmor
