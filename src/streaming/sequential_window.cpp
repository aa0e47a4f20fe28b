#include "streaming/sequential_window.h"

#include <algorithm>
#include <cstring>

namespace velmor {

namespace {
// Bytes the reader asks the source for at once, at most: large enough that a call costs
// nothing next to its copy, small enough that the caller soon finds them.
constexpr int64_t kLargestReadBytes = int64_t{1} << 20;
// Reads the reader goes past the caller's latest request: enough that the caller finds its
// next bytes read and a disk keeps streaming while the caller is busy with a long message,
// few enough that they are still in the processor's cache then.
constexpr int64_t kReadsAhead = 8;
// The reads the reader goes past it while a stretch longer than the window is kept.
constexpr int64_t kFewestReadsAhead = 2;
// Reads the window holds unless a longer stretch is kept: few enough to stay in the
// processor's cache (the system's copy into bytes written over and over runs several times
// faster than into memory), many next to the read-ahead, which moves to the front with the
// kept bytes whenever the reader runs out of room.
constexpr int64_t kCachedReads = 24;

// The pages of the last window closed, for the next one: fresh pages from the system cost a
// page-table write each, on some machines 20 ms for a window, as much as carving 200 MB.
std::mutex spareMutex;
MappedBytes& SparePages() {
    static MappedBytes spare(0);
    return spare;
}
}  // namespace

SequentialWindow::SequentialWindow(ByteSource& source, int64_t chunkBytes)
    : source_(source),
      readBytes_(std::clamp<int64_t>(chunkBytes, 1, kLargestReadBytes)),
      cachedBytes_(kCachedReads * readBytes_),
      storage_(0) {
    {
        std::lock_guard lock(spareMutex);
        storage_.Swap(SparePages());
    }
    if (storage_.size() != static_cast<size_t>(cachedBytes_)) {
        storage_.Resize(static_cast<size_t>(cachedBytes_));
        storage_.Populate(static_cast<size_t>(std::min(cachedBytes_, source_.size())));
    }
    buffer_ = std::span(storage_.data(), storage_.size());
    reader_ = std::thread([this] { Read(); });
}

SequentialWindow::~SequentialWindow() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    readerMayGoOn_.notify_one();
    reader_.join();
    if (storage_.size() == static_cast<size_t>(cachedBytes_)) {
        std::lock_guard lock(spareMutex);
        storage_.Swap(SparePages());
    }
}

void SequentialWindow::Resize(int64_t bytes) {
    // Growing keeps the filled bytes in place of their pages; shrinking (to the cached size,
    // past a long stretch) gives the pages of the longer window back.
    storage_.Resize(static_cast<size_t>(bytes));
    buffer_ = std::span(storage_.data(), storage_.size());
}

int64_t SequentialWindow::Room() const {
    return static_cast<int64_t>(buffer_.size()) - filled_;
}

int64_t SequentialWindow::NextReadLength() const {
    return std::min(readBytes_, source_.size() - ReadEnd());
}

bool SequentialWindow::HasRoom() const {
    // Past its cached size the window holds the stretch from its start to the caller's latest
    // request and a few reads more, not the whole read-ahead: a long message kept whole then
    // costs little more memory than its own bytes.
    const int64_t limit =
        std::max(cachedBytes_, askedEnd_ - base_ + kFewestReadsAhead * readBytes_);
    return Room() >= NextReadLength() && filled_ + NextReadLength() <= limit;
}

bool SequentialWindow::ShrinkDue() const {
    return static_cast<int64_t>(buffer_.size()) > cachedBytes_ &&
           ReadEnd() - std::max(kept_, base_) + NextReadLength() <= cachedBytes_;
}

bool SequentialWindow::ReaderMayGoOn() const {
    return ReadEnd() < source_.size() && ReadEnd() < askedEnd_ + kReadsAhead * readBytes_ &&
           HasRoom();
}

void SequentialWindow::Read() {
    std::unique_lock lock(mutex_);
    while (true) {
        readerWaits_ = true;
        readerMayGoOn_.wait(lock, [this] { return closing_ || ReaderMayGoOn(); });
        readerWaits_ = false;
        if (closing_) {
            return;
        }
        const int64_t offset = ReadEnd();
        const int64_t length = NextReadLength();
        const std::span<uint8_t> target =
            buffer_.subspan(static_cast<size_t>(filled_), static_cast<size_t>(length));
        reading_ = true;
        lock.unlock();
        int64_t count = source_.Read(offset, target);
        const bool failed = count <= 0;
        if (failed) {
            // A failed read or a source shorter than it said: zeros in their place.
            std::memset(target.data(), 0, target.size());
            count = length;
        }
        lock.lock();
        reading_ = false;
        unreadableBytes_ += failed ? length : 0;
        filled_ += std::min(count, length);
        if (callerWaits_) {
            bytesRead_.notify_one();
        }
    }
}

void SequentialWindow::MakeRoom() {
    // The kept bytes move to the front when that frees a good part of the window or the room
    // for the next read (its memory grows only for a long stretch kept), else the window grows
    // by half, so that a long message kept whole is not moved again and again; past it the
    // window is small again.
    const int64_t dropped = std::min(kept_, ReadEnd()) - base_;
    if (dropped >= static_cast<int64_t>(buffer_.size()) / 4 ||
        (dropped > 0 && Room() + dropped >= NextReadLength())) {
        std::memmove(buffer_.data(), buffer_.data() + dropped,
                     static_cast<size_t>(filled_ - dropped));
        base_ += dropped;
        filled_ -= dropped;
    }
    if (filled_ + NextReadLength() <= cachedBytes_) {
        Resize(cachedBytes_);
    } else if (Room() < NextReadLength()) {
        Resize(static_cast<int64_t>(buffer_.size()) * 3 / 2);
    }
}

PageView SequentialWindow::At(int64_t offset, int64_t wanted) {
    const int64_t end = std::min(offset + wanted, source_.size());
    // The lock is taken about once a read: to tell the reader how far the caller has come,
    // to make room the reader waits for, or to wait for bytes not read yet.
    if (end > knownEnd_ - readBytes_ && knownEnd_ < source_.size()) {
        std::unique_lock lock(mutex_);
        askedEnd_ = std::max(askedEnd_, end);
        while (true) {
            if (ReadEnd() < source_.size() && (!HasRoom() || ShrinkDue())) {
                if (!reading_) {
                    MakeRoom();
                } else if (ShrinkDue()) {
                    // Else the reader would go on into the larger window's pages.
                    callerWaits_ = true;
                    bytesRead_.wait(lock);
                    callerWaits_ = false;
                    continue;
                }
            }
            if (readerWaits_ && ReaderMayGoOn()) {
                readerMayGoOn_.notify_one();
            }
            if (end <= ReadEnd()) {
                break;
            }
            callerWaits_ = true;
            bytesRead_.wait(lock);
            callerWaits_ = false;
        }
        knownEnd_ = ReadEnd();
    }
    return PageView(buffer_.data() + (offset - base_), knownEnd_ - offset);
}

PageView SequentialWindow::Held(int64_t offset, int64_t length) const {
    if (offset < base_) {
        return {};
    }
    return PageView(buffer_.data() + (offset - base_), std::min(length, knownEnd_ - offset));
}

void SequentialWindow::KeepFrom(int64_t offset) {
    kept_ = std::max(kept_, offset);
}

int64_t SequentialWindow::unreadableBytes() {
    std::lock_guard lock(mutex_);
    return unreadableBytes_;
}

}  // namespace velmor
