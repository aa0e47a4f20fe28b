#pragma once

#include <sys/types.h>
#include <unistd.h>
#include <atomic>
#include <cstdint>

#include <filesystem>
#include <functional>
#include <span>
#include <vector>

#include "edb/page_view.h"

namespace velmor {

// The open database file and its companion streaming file. Both are opened read-only: the
// system never writes to the database, and a damaged store may sit on a read-only copy.
class EdbFile {
public:
    // Reads from a descriptor as pread does; tests put reads that fail at chosen offsets in its
    // place.
    using ReadFunction = std::function<ssize_t(int fd, void* buffer, size_t count, off_t offset)>;

    EdbFile() = default;
    ~EdbFile();
    EdbFile(const EdbFile&) = delete;
    EdbFile& operator=(const EdbFile&) = delete;

    // 0 on success, 1 when the database file cannot be opened.
    int OpenDatabase(const std::filesystem::path& path);
    void CloseDatabase();

    bool isOpen() const { return databaseFd_ >= 0; }
    uint64_t fileSize() const { return fileSize_; }
    bool hasStreamingFile() const { return streamingFd_ >= 0; }
    uint64_t streamingFileSize() const { return streamingSize_; }
    // Whether path names the open database or its streaming file, under any name (a link, a
    // relative path): nothing the program writes may land there.
    bool HoldsFile(const std::filesystem::path& path) const;

    // Highest object id taken as genuine; set by the page grouping pass.
    int32_t maxObjectId = 0;

    // Whole page p; false tells the caller to stop walking its page list.
    bool ReadPage(int32_t pageNumber, PageBuffer& buffer);
    // Chunk i of the full-file pass: the count of bytes read, 0 when the pass ends. A chunk
    // whose read fails is read again page by page; a page that still cannot be read comes back
    // zeroed (it belongs to no object) and is counted.
    int64_t ReadChunk(int64_t chunkIndex, std::span<uint8_t> buffer);
    // Chunks first, first + 1, ... into buffer (whole chunks), with one read where the disk
    // allows: counts gets what ReadChunk would give for each, and ends after the first 0.
    void ReadChunks(int64_t first, std::span<uint8_t> buffer, std::vector<int64_t>& counts);
    // Pages of the full-file pass that could not be read since the database was opened.
    int64_t unreadablePages() const { return unreadablePages_; }
    // Up to buffer.size() bytes at an absolute offset; the count read, -1 on a bad offset.
    int64_t ReadAt(int64_t offset, std::span<uint8_t> buffer);
    // Tells the system that these bytes will be read soon, so that scattered pages are
    // fetched together instead of one read at a time; a hint only.
    void WillRead(int64_t offset, int64_t length) const;

    void SetReadFunction(ReadFunction read) { read_ = std::move(read); }

private:
    // Reads until the buffer is full or the file ends; failed tells a read error apart from
    // the end of the file.
    int64_t ReadFully(int64_t offset, std::span<uint8_t> buffer, bool& failed);
    int64_t ReadChunkByPage(int64_t offset, std::span<uint8_t> chunk);
    // Bytes of the chunk at offset that the full-file pass takes; 0 ends the pass.
    int64_t ChunkLength(int64_t offset) const;

    ReadFunction read_ = ::pread;
    // Chunks are read on several threads at once.
    std::atomic<int64_t> unreadablePages_ = 0;
    int databaseFd_ = -1;
    uint64_t fileSize_ = 0;
    int streamingFd_ = -1;
    uint64_t streamingSize_ = 0;
};

}  // namespace velmor
