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
    // Where messages start and where zero fill up to the end ends them: the 4 KiB pages of a
    // streaming file, or the 512-byte sectors of a disk image.
    int64_t alignment = 4096;
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
// in one forward pass.
// A message starts where a header block (StartsHeaderBlock: at least two message fields, an
// mbox "From " line before them allowed) starts at a page boundary (limits.alignment) or right
// after at least 16 zeros, or, inside a message that starts with an mbox "From " line, at the
// next such line followed by a header block. A start at a page boundary is not taken while the open
// message is inside a header block, nor inside its multipart while a boundary line of it follows
// within the look-ahead; where it is taken inside an open multipart, that message is marked cut. A
// message ends at zero fill (a run of 16 zeros, or zeros up to the end of the page), at a page of
// zeros, at the next start, at the size limit (marked) or at the end of the source. After the
// closing line of its outermost multipart ("--boundary--", blanks, the line end) its epilogue is
// kept up to that end, and onto the next page only when that page is text up to zero fill (in
// a mailbox file, or up to the next "From " line). found
// sees each message in file order, its bytes in place in the window the pass reads through; memory
// stays within the largest message.
CarveCounts CarveMessages(ByteSource& source, const CarveLimits& limits,
                          const std::function<void(CarvedMessage&&)>& found,
                          const CarveObserver& observer = {});

}  // namespace velmor
