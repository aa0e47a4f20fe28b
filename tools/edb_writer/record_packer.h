#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "edb_writer/page.h"
#include "edb_writer/page_sink.h"

namespace velmor::testdb {

// Where the readers of a table stop looking, so where its records must stay.
struct PackingLimits {
    int64_t recordEnd = kPageSize;        // a record's bytes end at or before this offset
    int64_t anchorLimit = kPageSize - 1;  // highest offset its anchor (the byte a scan
                                          // recognises it by) may lie at
    int64_t gapAfter = 0;                 // zero bytes left after each record
};

// A record's place: the index of the page among the packer's pages, and its offset there.
struct Placement {
    int32_t pageIndex = 0;
    int64_t offset = 0;
};

// Places records one after another into pages of one object id, from byte 40 on. A record
// never crosses the end of a page: when it does not fit, the page goes to the sink and a new
// page of the same object begins.
class RecordPacker {
public:
    RecordPacker(PageSink& sink, int32_t objectId, PackingLimits limits = {});

    // Throws std::length_error when the record cannot fit even on an empty page.
    Placement Place(std::span<const uint8_t> record, int64_t anchorOffset = 0);
    // Sends the page being filled, if it holds a record, to the sink.
    void Flush();

    int32_t objectId() const { return objectId_; }
    // Page numbers of the pages sent to the sink so far, in packing order.
    const std::vector<int32_t>& pageNumbers() const { return pageNumbers_; }

private:
    PageSink& sink_;
    int32_t objectId_;
    PackingLimits limits_;
    Page page_;
    int64_t cursor_ = kPageBodyStart;
    bool pageHoldsRecords_ = false;
    std::vector<int32_t> pageNumbers_;
};

}  // namespace velmor::testdb
