#include "edb/chunk_stream.h"

#include <algorithm>

namespace velmor {

namespace {

// Reads of 512 KiB keep a disk streaming and stay in the processor's cache while they are
// scanned; eight of them ahead bound the memory.
constexpr int64_t kChunksPerBlock = 8;
constexpr size_t kBlocksAhead = 8;

}  // namespace

// A small file gets blocks no larger than itself.
ChunkStream::ChunkStream(EdbFile& file)
    : file_(file),
      chunksPerBlock_(std::clamp(static_cast<int64_t>(file.fileSize()) / kChunkSize + 1, int64_t{1},
                                 kChunksPerBlock)),
      blocks_(kBlocksAhead) {
    for (Block& block : blocks_) {
        block.bytes = std::make_unique_for_overwrite<uint8_t[]>(
            static_cast<size_t>(chunksPerBlock_ * kChunkSize));
    }
    reader_ = std::thread([this] { ReadAhead(); });
}

ChunkStream::~ChunkStream() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    reader_.join();
}

void ChunkStream::ReadAhead() {
    for (size_t next = 0;; ++next) {
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return ending_ || next - consumed_ < kBlocksAhead; });
            if (ending_) {
                return;
            }
        }
        Block& block = blocks_[next % kBlocksAhead];
        file_.ReadChunks(static_cast<int64_t>(next) * chunksPerBlock_,
                         {block.bytes.get(), static_cast<size_t>(chunksPerBlock_ * kChunkSize)},
                         block.counts);
        const bool last = block.counts.empty() || block.counts.back() == 0;
        {
            std::lock_guard lock(mutex_);
            filled_ = next + 1;
        }
        changed_.notify_all();
        if (last) {
            return;
        }
    }
}

bool ChunkStream::Next(PageView& chunk) {
    std::unique_lock lock(mutex_);
    if (chunkInBlock_ == static_cast<size_t>(chunksPerBlock_)) {
        // Asking for the next chunk, the caller is done with the whole block before it.
        chunkInBlock_ = 0;
        ++consumed_;
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return filled_ > consumed_; });
    const Block& block = blocks_[consumed_ % kBlocksAhead];
    const int64_t count = chunkInBlock_ < block.counts.size() ? block.counts[chunkInBlock_] : 0;
    if (count == 0) {
        return false;
    }
    chunk = PageView(block.bytes.get() + chunkInBlock_ * kChunkSize, count);
    ++chunkInBlock_;
    return true;
}

}  // namespace velmor
