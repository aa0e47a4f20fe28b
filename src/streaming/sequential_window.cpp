#include "streaming/sequential_window.h"

#include <algorithm>
#include <cstring>

namespace velmor {

namespace {
constexpr size_t kAlignment = 4096;
}  // namespace

SequentialWindow::SequentialWindow(ByteSource& source, int64_t chunkBytes, int64_t lookaheadBytes)
    : source_(source),
      chunkBytes_(chunkBytes),
      storage_(static_cast<size_t>(chunkBytes + lookaheadBytes + kAlignment)) {
    const auto address = reinterpret_cast<uintptr_t>(storage_.data());
    const size_t skip = (kAlignment - address % kAlignment) % kAlignment;
    buffer_ = std::span(storage_).subspan(skip, static_cast<size_t>(chunkBytes + lookaheadBytes));
}

void SequentialWindow::AnnounceAhead() {
    // The disk reads the next chunks while the caller works on this one: told in large steps,
    // so that the calls cost nothing next to the reads.
    const int64_t readEnd = base_ + filled_;
    if (announcedEnd_ - readEnd >= kReadAheadBytes / 2) {
        return;
    }
    const int64_t from = std::max(announcedEnd_, readEnd);
    const int64_t to = std::min(readEnd + kReadAheadBytes, source_.size());
    if (to > from) {
        source_.WillRead(from, to - from);
        announcedEnd_ = to;
    }
}

PageView SequentialWindow::At(int64_t offset, int64_t wanted) {
    const int64_t end = std::min(offset + wanted, source_.size());
    if (offset < base_ || end > base_ + filled_) {
        // Keep what is still ahead, then fill the rest with whole reads.
        const int64_t kept =
            offset < base_ ? 0 : std::clamp<int64_t>(base_ + filled_ - offset, 0, filled_);
        if (kept > 0) {
            std::memmove(buffer_.data(), buffer_.data() + (offset - base_),
                         static_cast<size_t>(kept));
        }
        base_ = offset;
        filled_ = kept;
        const int64_t room =
            std::min<int64_t>(static_cast<int64_t>(buffer_.size()), source_.size() - base_);
        while (filled_ < room) {
            const int64_t length = std::min(room - filled_, chunkBytes_);
            std::span<uint8_t> target(buffer_.data() + filled_, static_cast<size_t>(length));
            int64_t count = source_.Read(base_ + filled_, target);
            if (count <= 0) {
                // A failed read or a source shorter than it said: zeros in their place.
                std::memset(target.data(), 0, target.size());
                unreadableBytes_ += length;
                count = length;
            }
            filled_ += count;
        }
        AnnounceAhead();
    }
    const int64_t from = offset - base_;
    return PageView(buffer_.data() + from, std::max<int64_t>(0, filled_ - from));
}

}  // namespace velmor
