#include "edb/edb_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace velmor {

namespace {

// The companion streaming file has the database's name with its last three characters
// replaced by "stm".
constexpr std::string_view kStreamingSuffix = "stm";
constexpr size_t kReplacedSuffixLength = 3;

int OpenReadOnly(const std::filesystem::path& path, uint64_t& size) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    size = static_cast<uint64_t>(info.st_size);
    return fd;
}

bool SameFile(int fd, const struct stat& other) {
    struct stat info {};
    return fd >= 0 && ::fstat(fd, &info) == 0 && info.st_dev == other.st_dev &&
           info.st_ino == other.st_ino;
}

}  // namespace

EdbFile::~EdbFile() {
    CloseDatabase();
    if (streamingFd_ >= 0) {
        ::close(streamingFd_);
    }
}

int EdbFile::OpenDatabase(const std::filesystem::path& path) {
    if (databaseFd_ >= 0) {
        ::close(databaseFd_);
        databaseFd_ = -1;
        fileSize_ = 0;
    }
    uint64_t size = 0;
    int fd = OpenReadOnly(path, size);
    if (fd < 0) {
        return 1;
    }
    databaseFd_ = fd;
    fileSize_ = size;
    unreadablePages_ = 0;
    posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    std::string text = path.native();
    if (text.size() >= kReplacedSuffixLength) {
        std::filesystem::path companion =
            text.substr(0, text.size() - kReplacedSuffixLength) + std::string(kStreamingSuffix);
        std::error_code error;
        if (companion != path && std::filesystem::is_regular_file(companion, error) &&
            ::access(companion.c_str(), R_OK) == 0) {
            uint64_t companionSize = 0;
            int companionFd = OpenReadOnly(companion, companionSize);
            if (companionFd >= 0) {
                if (streamingFd_ >= 0) {
                    ::close(streamingFd_);
                }
                streamingFd_ = companionFd;
                streamingSize_ = companionSize;
            }
        }
    }
    return 0;
}

void EdbFile::CloseDatabase() {
    if (databaseFd_ >= 0) {
        ::close(databaseFd_);
        databaseFd_ = -1;
    }
    fileSize_ = 0;
    if (streamingFd_ >= 0) {
        ::close(streamingFd_);
        streamingFd_ = -1;
    }
    streamingSize_ = 0;
}

bool EdbFile::HoldsFile(const std::filesystem::path& path) const {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return false;
    }
    return SameFile(databaseFd_, info) || SameFile(streamingFd_, info);
}

int64_t EdbFile::ReadFully(int64_t offset, std::span<uint8_t> buffer, bool& failed) {
    failed = false;
    size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t count = read_(databaseFd_, buffer.data() + done, buffer.size() - done,
                                    static_cast<off_t>(offset + static_cast<int64_t>(done)));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            failed = true;
            break;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    return static_cast<int64_t>(done);
}

int64_t EdbFile::ReadAt(int64_t offset, std::span<uint8_t> buffer) {
    if (databaseFd_ < 0 || offset < 0) {
        return -1;
    }
    bool failed = false;
    return ReadFully(offset, buffer, failed);
}

void EdbFile::WillRead(int64_t offset, int64_t length) const {
    if (databaseFd_ >= 0 && offset >= 0 && length > 0) {
        ::posix_fadvise(databaseFd_, offset, length, POSIX_FADV_WILLNEED);
    }
}

bool EdbFile::ReadPage(int32_t pageNumber, PageBuffer& buffer) {
    const int64_t offset = PageOffset(pageNumber);
    if (offset < 0 || fileSize_ < static_cast<uint64_t>(PAGE_SIZE) ||
        static_cast<uint64_t>(offset) > fileSize_ - PAGE_SIZE) {
        return false;
    }
    return ReadAt(offset, buffer) == PAGE_SIZE;
}

// The pass takes a chunk up to the end of the file, and none once at most a page is left.
int64_t EdbFile::ChunkLength(int64_t offset) const {
    const int64_t remaining = static_cast<int64_t>(fileSize_) - offset;
    return offset < 0 || remaining <= PAGE_SIZE ? 0 : std::min(kChunkSize, remaining);
}

int64_t EdbFile::ReadChunk(int64_t chunkIndex, std::span<uint8_t> buffer) {
    const int64_t offset = chunkIndex * kChunkSize;
    const int64_t length = ChunkLength(offset);
    if (databaseFd_ < 0 || length == 0) {
        return 0;
    }
    const auto wanted = std::min(static_cast<int64_t>(buffer.size()), length);
    const std::span<uint8_t> chunk = buffer.first(static_cast<size_t>(wanted));
    bool failed = false;
    int64_t count = ReadFully(offset, chunk, failed);
    if (failed) {
        count = ReadChunkByPage(offset, chunk);
    }
    return count;
}

void EdbFile::ReadChunks(int64_t first, std::span<uint8_t> buffer, std::vector<int64_t>& counts) {
    counts.clear();
    const int64_t chunkCount = static_cast<int64_t>(buffer.size()) / kChunkSize;
    const int64_t offset = first * kChunkSize;
    const int64_t available = static_cast<int64_t>(fileSize_) - offset;
    bool whole = databaseFd_ >= 0 && offset >= 0;
    if (whole && available > 0) {
        const auto wanted = std::min(chunkCount * kChunkSize, available);
        bool failed = false;
        whole = ReadFully(offset, buffer.first(static_cast<size_t>(wanted)), failed) == wanted;
    }
    for (int64_t k = 0; k < chunkCount; ++k) {
        const std::span<uint8_t> chunk =
            buffer.subspan(static_cast<size_t>(k * kChunkSize), static_cast<size_t>(kChunkSize));
        // After a failed or short read each chunk is read again on its own.
        const int64_t count =
            whole ? ChunkLength(offset + k * kChunkSize) : ReadChunk(first + k, chunk);
        counts.push_back(count);
        if (count == 0) {
            return;
        }
    }
}

// A bad sector spoils only the pages it lies in: the others of the chunk are still read.
int64_t EdbFile::ReadChunkByPage(int64_t offset, std::span<uint8_t> chunk) {
    size_t done = 0;
    while (done < chunk.size()) {
        const std::span<uint8_t> page =
            chunk.subspan(done, std::min(static_cast<size_t>(PAGE_SIZE), chunk.size() - done));
        bool failed = false;
        const int64_t count = ReadFully(offset + static_cast<int64_t>(done), page, failed);
        if (failed) {
            std::fill(page.begin(), page.end(), uint8_t{0});
            ++unreadablePages_;
            done += page.size();
            continue;
        }
        done += static_cast<size_t>(count);
        if (static_cast<size_t>(count) < page.size()) {
            break;
        }
    }
    return static_cast<int64_t>(done);
}

}  // namespace velmor
