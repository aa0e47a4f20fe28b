#include "streaming/file_byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace velmor {

FileByteSource::~FileByteSource() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FileByteSource::Open(const std::filesystem::path& path) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer, for ever.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat info {};
    const bool readable = ::fstat(fd, &info) == 0 &&
                          (S_ISREG(info.st_mode) || S_ISBLK(info.st_mode)) &&
                          ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
    // A block device (a disk image on a drive) has no file size: its end is its size.
    const off_t size = readable && S_ISBLK(info.st_mode) ? ::lseek(fd, 0, SEEK_END) : info.st_size;
    if (!readable || size < 0) {
        ::close(fd);
        return false;
    }
    if (fd_ >= 0) {
        ::close(fd_);
    }
    fd_ = fd;
    size_ = size;
    posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    return true;
}

int64_t FileByteSource::Read(int64_t offset, std::span<uint8_t> buffer) {
    if (fd_ < 0 || offset < 0) {
        return -1;
    }
    size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t count = ::pread(fd_, buffer.data() + done, buffer.size() - done,
                                      static_cast<off_t>(offset) + static_cast<off_t>(done));
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return -1;
        }
        if (count == 0) {
            break;
        }
        done += static_cast<size_t>(count);
    }
    return static_cast<int64_t>(done);
}

}  // namespace velmor
