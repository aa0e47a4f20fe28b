#pragma once

#include <cstdint>

#include "discovery/stop_flag.h"
#include "edb/page_view.h"
#include "edb/tagged_directory.h"

namespace velmor {

// Data of a directory entry that passed the walk's tests: its column, the reduced offset s
// (the header byte; the value starts at s + 1) and n, the distance to the next entry's data.
struct BlockEntry {
    uint16_t column;
    int64_t s;
    int64_t n;
    uint16_t rawOffset;  // the entry's offset with its flag bits
};

inline constexpr int64_t kBlockDataLimit = 4090;

// Walks at most maxEntries entries of the tagged directory that starts a record block and
// hands each entry with data to test, which returns false to end the walk. Zero offsets are
// skipped; backward or empty data, or data reaching byte 4089, ends the walk. False when a
// stop was seen.
template <typename Test>
bool WalkRecordBlock(const PageView& block, int maxEntries, StopFlag& stop, Test&& test) {
    for (int k = 0; k < maxEntries; ++k) {
        if (stop.requested()) {
            return false;
        }
        const auto entry = ReadTaggedEntry(block, 0, k);
        if (!entry) {
            return true;
        }
        if (entry->offset == 0 || entry->nextOffset == 0) {
            continue;
        }
        const int64_t s = ReduceOffset(entry->offset);
        const int64_t e = ReduceOffset(entry->nextOffset);
        const int64_t n = e - s;
        if (n <= 0 || e + 1 > kBlockDataLimit) {
            return true;
        }
        if (!test(BlockEntry{entry->column, s, n, entry->offset})) {
            return true;
        }
    }
    return true;
}

}  // namespace velmor
