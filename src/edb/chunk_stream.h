#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "edb/edb_file.h"

namespace velmor {

// The chunks of the full-file pass in file order, as ReadChunk gives them, read by a thread of
// its own a few large reads ahead of the caller: the disk keeps working while the caller scans
// and the caller rarely waits for the disk. The file is not touched by anyone else meanwhile.
class ChunkStream {
public:
    explicit ChunkStream(EdbFile& file);
    // Ends the reading thread, which may be ahead of the caller.
    ~ChunkStream();
    ChunkStream(const ChunkStream&) = delete;
    ChunkStream& operator=(const ChunkStream&) = delete;

    // The next chunk's bytes; false when the pass ends (a count of 0).
    bool Next(PageView& chunk);

private:
    // One large read: its bytes and what each of its chunks gave.
    struct Block {
        std::unique_ptr<uint8_t[]> bytes;
        std::vector<int64_t> counts;
    };

    void ReadAhead();

    EdbFile& file_;
    int64_t chunksPerBlock_;
    std::vector<Block> blocks_;
    std::mutex mutex_;
    std::condition_variable changed_;
    size_t filled_ = 0;    // blocks read so far
    size_t consumed_ = 0;  // blocks the caller has finished with
    bool ending_ = false;
    size_t chunkInBlock_ = 0;
    std::thread reader_;
};

}  // namespace velmor
