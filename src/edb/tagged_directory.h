#pragma once

#include <cstdint>
#include <optional>

#include "edb/page_view.h"

namespace velmor {

// Tagged-column data offsets carry flags in their upper bits; only the in-page part counts.
inline constexpr int64_t ReduceOffset(uint32_t value) {
    return value % PAGE_SIZE;
}

inline constexpr int64_t kTaggedEntrySize = 4;

// One entry of a tagged-column directory starting at D: entry k lies at D + 4k and holds the
// column id and the raw data offset; the entry after it gives the end of its data.
struct TaggedEntry {
    uint16_t column = 0;
    uint16_t offset = 0;      // raw offset of this entry's data
    uint16_t nextOffset = 0;  // raw offset of the next entry's data
};

// Entry k of the directory at D, or nothing when the entry or the next entry's offset lies
// outside the buffer: a walk ends there.
inline std::optional<TaggedEntry> ReadTaggedEntry(const PageView& view, int64_t directory, int k) {
    const int64_t at = directory + kTaggedEntrySize * k;
    if (!view.contains(at, 2 * kTaggedEntrySize)) {
        return std::nullopt;
    }
    return TaggedEntry{view.u16(at), view.u16(at + 2), view.u16(at + 6)};
}

}  // namespace velmor
