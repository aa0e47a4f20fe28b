#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "edb/long_value_index.h"

namespace velmor {

// Values above this size are cut here: nothing a mail needs is larger, and a damaged root
// entry must not make the reader allocate gigabytes.
inline constexpr uint64_t kLongValueSizeCap = 64ull << 20;

// Bytes of a value that no chunk holds: length of them belong before bytes[at].
struct LongValueGap {
    uint64_t at = 0;
    uint64_t length = 0;
};

// One long value put back together from its chunks.
struct LongValue {
    std::vector<uint8_t> bytes;
    uint64_t declaredSize = 0;  // the root entry's size, or the end of the last chunk without one
    uint64_t missingBytes = 0;  // bytes up to the declared (capped) size that no chunk holds
    std::vector<LongValueGap> gaps;  // where the missing bytes lie, in value order
    bool hasRoot = false;
    bool compressed = false;  // stored compressed by a newer engine: bytes are as stored
    bool capped = false;      // the declared size was above the cap
};

// Reads length bytes at a file offset into the span; false when they cannot all be read.
using ChunkReader = std::function<bool(int64_t fileOffset, std::span<uint8_t> bytes)>;

// The value of one long-value id: chunks are laid out by their offset up to the declared size
// (of two copies of one offset the newer page wins); nothing when the index has no entry.
std::optional<LongValue> AssembleLongValue(const LongValueIndex& index, uint32_t id,
                                           const ChunkReader& read);

}  // namespace velmor
