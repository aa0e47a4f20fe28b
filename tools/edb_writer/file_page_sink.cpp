#include "edb_writer/file_page_sink.h"

#include <stdexcept>

namespace velmor::testdb {

namespace {

// Large buffered writes keep a multi-gigabyte store cheap to write.
constexpr size_t kWriteBufferSize = 1 << 20;

}  // namespace

FilePageSink::FilePageSink(const std::filesystem::path& path)
    : path_(path), buffer_(kWriteBufferSize) {
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ == nullptr) {
        throw std::runtime_error("cannot create " + path.string());
    }
    std::setvbuf(file_, buffer_.data(), _IOFBF, buffer_.size());
    Write(header_);
}

FilePageSink::~FilePageSink() {
    if (file_ != nullptr) {
        std::fclose(file_);
    }
}

int32_t FilePageSink::AppendPage(const Page& page) {
    Write(page);
    return pageCount_++;
}

void FilePageSink::Close() {
    if (file_ == nullptr) {
        return;
    }
    const bool written = std::fseek(file_, 0, SEEK_SET) == 0 &&
                         std::fwrite(header_.bytes().data(), 1, kPageSize, file_) == kPageSize;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!written || !closed) {
        throw std::runtime_error("cannot write " + path_.string());
    }
}

void FilePageSink::Write(const Page& page) {
    if (file_ == nullptr || std::fwrite(page.bytes().data(), 1, kPageSize, file_) != kPageSize) {
        throw std::runtime_error("cannot write " + path_.string());
    }
}

}  // namespace velmor::testdb
