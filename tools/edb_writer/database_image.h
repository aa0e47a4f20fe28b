#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "edb_writer/page.h"
#include "edb_writer/page_sink.h"

namespace velmor::testdb {

// A whole database file held in memory, for small stores and for damaging pages by hand:
// the header page, then pages 0, 1, 2, ... of any object ids in any order.
class DatabaseImage final : public PageSink {
public:
    Page& header() { return header_; }
    const Page& header() const { return header_; }
    void SetHighestObjectId(int32_t value);

    int32_t AppendPage(const Page& page) override;
    int32_t pageCount() const override { return static_cast<int32_t>(pages_.size()); }
    void SetHeader(const Page& header) override { header_ = header; }

    // Page p; the image grows with empty pages (object id 0) to reach it.
    Page& PageAt(int32_t pageNumber);
    const Page& page(int32_t pageNumber) const {
        return pages_.at(static_cast<size_t>(pageNumber));
    }
    // Appends an empty page of the object and returns it.
    Page& AddPage(int32_t objectId);

    // The file's bytes: header, then every page.
    std::vector<uint8_t> Bytes() const;
    // Writes the file; throws std::runtime_error when it cannot be written.
    void WriteTo(const std::filesystem::path& path) const;
    void WriteTo(PageSink& sink) const;

private:
    Page header_;
    std::vector<Page> pages_;
};

}  // namespace velmor::testdb
