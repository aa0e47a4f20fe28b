#include "edb_writer/record_packer.h"

#include <stdexcept>
#include <string>

namespace velmor::testdb {

RecordPacker::RecordPacker(PageSink& sink, int32_t objectId, PackingLimits limits)
    : sink_(sink), objectId_(objectId), limits_(limits), page_(objectId) {}

Placement RecordPacker::Place(std::span<const uint8_t> record, int64_t anchorOffset) {
    const auto size = static_cast<int64_t>(record.size());
    const auto fits = [&](int64_t at) {
        return at + size <= limits_.recordEnd && at + anchorOffset <= limits_.anchorLimit;
    };
    if (!fits(cursor_)) {
        if (!fits(kPageBodyStart)) {
            throw std::length_error("a record of " + std::to_string(size) +
                                    " bytes does not fit on a page of object " +
                                    std::to_string(objectId_));
        }
        Flush();
    }
    page_.PutBytes(cursor_, record);
    const Placement placement{static_cast<int32_t>(pageNumbers_.size()), cursor_};
    cursor_ += size + limits_.gapAfter;
    pageHoldsRecords_ = true;
    return placement;
}

void RecordPacker::Flush() {
    if (pageHoldsRecords_) {
        pageNumbers_.push_back(sink_.AppendPage(page_));
        page_.Reset(objectId_);
    }
    cursor_ = kPageBodyStart;
    pageHoldsRecords_ = false;
}

}  // namespace velmor::testdb
