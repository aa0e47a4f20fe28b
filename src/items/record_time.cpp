#include "items/record_time.h"

#include "items/item_date.h"

namespace velmor {

namespace {

constexpr int64_t kFileTimeLength = 8;

}  // namespace

const std::u16string& ReadRecordTime(const PageView& page, int64_t recordStart, CItem& record) {
    if (!page.contains(recordStart, kFileTimeLength)) {
        return record.dateText;
    }
    record.timestamp = page.u64(recordStart);
    return FormatItemDate(record, page.u32(recordStart), page.u32(recordStart + 4));
}

}  // namespace velmor
