#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

namespace velmor {

// Scans block into slot on the thread with the given worker number (0: the calling thread);
// false when the block holds the end of the input, so that no later block is scanned.
using BlockScan = std::function<bool(int64_t block, size_t slot, unsigned worker)>;
// Merges the block scanned into slot; false ends the pass.
using BlockMerge = std::function<bool(int64_t block, size_t slot)>;

// A pass over blocks 0, 1, ... on several threads: each thread scans the next block nobody
// has taken, and the calling thread merges the scanned blocks strictly in block order, so
// what the merges build does not depend on the number of threads. At most `slots` blocks are
// scanned ahead of the merge; block b uses slot b % slots, free again once b is merged. When
// the merge ends the pass, the other threads end after the block each is scanning.
void RunOrderedBlockPass(unsigned threads, size_t slots, const BlockScan& scan,
                         const BlockMerge& merge);

}  // namespace velmor
