#pragma once

#include <cstdint>
#include <functional>

#include "streaming/byte_source.h"
#include "streaming/carved_message.h"

namespace velmor {

struct CarveLimits {
    // A message longer than this (a multipart with no end) is cut there and marked.
    int64_t maxMessageBytes = int64_t{64} << 20;
    int64_t chunkBytes = int64_t{1} << 20;
};

struct CarveCounts {
    int64_t messages = 0;
    int64_t incomplete = 0;
    int64_t unreadableBytes = 0;
    bool stopped = false;  // the pass ended at a stop, before the end of the source
};

// What a long pass reports to and asks, once per chunk; either may be empty.
struct CarveObserver {
    std::function<void(int64_t bytesDone, int64_t bytesTotal)> progress;
    // True ends the pass there; the message being carved then is dropped.
    std::function<bool()> stopRequested;
};

// Finds the messages of a streaming file (or any raw image) without trusting its structure,
// in one forward pass. A message starts where a header block starts at a 4 KiB page boundary
// or right after zero fill; it ends at the next start, at a page of zeros, at the closing
// boundary of its outermost multipart, or at the end of the source, its trailing zero fill
// cut. found sees each message in file order, its bytes in place in the window the pass
// reads through; memory stays within the largest message.
CarveCounts CarveMessages(ByteSource& source, const CarveLimits& limits,
                          const std::function<void(CarvedMessage&&)>& found,
                          const CarveObserver& observer = {});

}  // namespace velmor
