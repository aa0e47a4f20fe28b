#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <span>
#include <thread>

#include "edb/page_view.h"
#include "streaming/byte_source.h"
#include "streaming/mapped_bytes.h"

namespace velmor {

// A window that moves forward over a byte source. A reader thread of its own fills it a few
// chunks ahead of the caller, so that the caller works on one core while the reads (a wait on
// the disk, or the system's copy out of its cache) take the other. The window holds the bytes
// from the point the caller keeps on (a message being carved lies in it whole, in place), plus
// the read-ahead: its memory follows the longest stretch kept, not the size of the source.
class SequentialWindow {
public:
    SequentialWindow(ByteSource& source, int64_t chunkBytes);
    ~SequentialWindow();
    SequentialWindow(const SequentialWindow&) = delete;
    SequentialWindow& operator=(const SequentialWindow&) = delete;

    // The bytes from offset (at or after the kept point) on, at least wanted of them unless
    // the source ends first. The view holds until the next call; the bytes of the kept stretch
    // keep their offsets, but not their addresses, across calls.
    // Bytes that cannot be read come back as zeros and are counted.
    PageView At(int64_t offset, int64_t wanted);
    // The length bytes at offset, all of them given by At since the kept point (no waiting);
    // fewer when they were not.
    PageView Held(int64_t offset, int64_t length) const;
    // The bytes before offset are no longer needed; offsets never go back before it.
    void KeepFrom(int64_t offset);
    int64_t unreadableBytes();

private:
    void Read();  // the reader thread
    int64_t ReadEnd() const { return base_ + filled_; }
    int64_t Room() const;
    int64_t NextReadLength() const;
    bool HasRoom() const;  // for the next read
    // The window is larger than its cached size, and the bytes from the kept point on fit in
    // that: the stretch that made it grow is over.
    bool ShrinkDue() const;
    bool ReaderMayGoOn() const;
    void MakeRoom();
    void Resize(int64_t bytes);

    ByteSource& source_;
    const int64_t readBytes_;    // asked for at once
    const int64_t cachedBytes_;  // the window's size unless a longer stretch is kept
    MappedBytes storage_;
    // Its bytes: the system copies whole pages into them at memory speed, and much slower to
    // a misaligned address.
    std::span<uint8_t> buffer_;

    std::mutex mutex_;
    std::condition_variable readerMayGoOn_;
    std::condition_variable bytesRead_;
    // Guarded by mutex_; buffer_, base_ and the bytes before the filled end move only in the
    // caller's thread, while the reader is not reading.
    int64_t base_ = 0;      // source offset of buffer_[0]
    int64_t filled_ = 0;    // bytes of buffer_ that hold source bytes
    int64_t askedEnd_ = 0;  // the end of the caller's latest request: the reader stays near it
    bool reading_ = false;  // the reader is filling the bytes after the filled end
    bool readerWaits_ = false;
    bool callerWaits_ = false;
    bool closing_ = false;
    int64_t unreadableBytes_ = 0;
    // The caller's own: the first byte still needed, and the filled end as last seen.
    int64_t kept_ = 0;
    int64_t knownEnd_ = 0;
    std::thread reader_;
};

}  // namespace velmor
