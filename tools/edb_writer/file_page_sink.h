#pragma once

#include <cstdio>
#include <filesystem>
#include <vector>

#include "edb_writer/page_sink.h"

namespace velmor::testdb {

// Streams pages straight to a file, so that stores far larger than memory can be written.
// The header is written last, over the placeholder that the file starts with.
class FilePageSink final : public PageSink {
public:
    // Creates or truncates the file; throws std::runtime_error when it cannot.
    explicit FilePageSink(const std::filesystem::path& path);
    ~FilePageSink() override;
    FilePageSink(const FilePageSink&) = delete;
    FilePageSink& operator=(const FilePageSink&) = delete;

    int32_t AppendPage(const Page& page) override;
    int32_t pageCount() const override { return pageCount_; }
    void SetHeader(const Page& header) override { header_ = header; }

    // Writes the header and closes the file; throws std::runtime_error on a write failure.
    void Close();

private:
    void Write(const Page& page);

    std::filesystem::path path_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    Page header_;
    int32_t pageCount_ = 0;
};

}  // namespace velmor::testdb
