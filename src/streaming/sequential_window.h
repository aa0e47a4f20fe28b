#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "edb/page_view.h"
#include "streaming/byte_source.h"

namespace velmor {

// A window that moves forward over a byte source in large reads; it holds at most one chunk
// plus the look-ahead asked for, whatever the size of the source.
class SequentialWindow {
public:
    SequentialWindow(ByteSource& source, int64_t chunkBytes, int64_t lookaheadBytes);

    // The bytes from offset on, at least wanted of them unless the source ends first (wanted
    // at most the look-ahead plus one chunk). Offsets never go back before an earlier call's.
    // Bytes that cannot be read come back as zeros and are counted.
    PageView At(int64_t offset, int64_t wanted);
    int64_t unreadableBytes() const { return unreadableBytes_; }

private:
    // Bytes past the window the source is told it will be asked for.
    static constexpr int64_t kReadAheadBytes = int64_t{32} << 20;

    void AnnounceAhead();

    ByteSource& source_;
    int64_t chunkBytes_;
    std::vector<uint8_t> storage_;
    // The part of storage_ from a page boundary on: the system copies whole pages into it at
    // memory speed, and much slower to a misaligned address.
    std::span<uint8_t> buffer_;
    int64_t base_ = 0;    // file offset of buffer_[0]
    int64_t filled_ = 0;  // bytes of buffer_ that hold file bytes
    int64_t unreadableBytes_ = 0;
    int64_t announcedEnd_ = 0;  // the source was told of the bytes up to here
};

}  // namespace velmor
