#pragma once

#include <cstdint>
#include <vector>

#include "browse/record_block_walk.h"
#include "discovery/processing_context.h"
#include "edb/long_value_assembly.h"

namespace velmor {

// The bytes of one column value of a message record, in line or put together from the
// message table's long-value tree, with what kept it from being read whole.
struct ColumnValue {
    std::vector<uint8_t> bytes;
    bool present = false;
    std::vector<LongValueGap> gaps;  // of a long value with missing bytes
    uint64_t missingBytes = 0;
    bool lost = false;        // the long value it refers to is not found
    bool compressed = false;  // stored compressed by a newer database engine
    bool capped = false;      // a long value cut at the largest size read
};

// The value of the directory entry e of the record block.
ColumnValue ReadColumnValue(ProcessingContext& context, const PageView& block, const BlockEntry& e);

}  // namespace velmor
