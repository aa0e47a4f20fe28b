#pragma once

#include <filesystem>

#include "streaming/byte_source.h"

namespace velmor {

// A file opened read-only and read front to back; the system is told so, and reads ahead.
class FileByteSource : public ByteSource {
public:
    FileByteSource() = default;
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    // False when path is neither a regular file nor a block device that can be read; a FIFO
    // or other special file is refused without waiting on it.
    bool Open(const std::filesystem::path& path);
    int64_t size() const override { return size_; }
    int64_t Read(int64_t offset, std::span<uint8_t> buffer) override;

private:
    int fd_ = -1;
    int64_t size_ = 0;
};

}  // namespace velmor
