#include "edb_writer/database_image.h"

#include <algorithm>
#include <stdexcept>

#include "edb_writer/database_header.h"
#include "edb_writer/file_page_sink.h"

namespace velmor::testdb {

void DatabaseImage::SetHighestObjectId(int32_t value) {
    header_.Put32(kHighestObjectIdOffset, static_cast<uint32_t>(value));
}

int32_t DatabaseImage::AppendPage(const Page& page) {
    pages_.push_back(page);
    return pageCount() - 1;
}

Page& DatabaseImage::PageAt(int32_t pageNumber) {
    if (pageNumber < 0) {
        throw std::out_of_range("page numbers start at 0; the header is header()");
    }
    if (static_cast<size_t>(pageNumber) >= pages_.size()) {
        pages_.resize(static_cast<size_t>(pageNumber) + 1);
    }
    return pages_[static_cast<size_t>(pageNumber)];
}

Page& DatabaseImage::AddPage(int32_t objectId) {
    pages_.emplace_back(objectId);
    return pages_.back();
}

std::vector<uint8_t> DatabaseImage::Bytes() const {
    std::vector<uint8_t> bytes;
    bytes.reserve((pages_.size() + 1) * kPageSize);
    bytes.insert(bytes.end(), header_.bytes().begin(), header_.bytes().end());
    for (const Page& page : pages_) {
        bytes.insert(bytes.end(), page.bytes().begin(), page.bytes().end());
    }
    return bytes;
}

void DatabaseImage::WriteTo(const std::filesystem::path& path) const {
    FilePageSink sink(path);
    WriteTo(sink);
    sink.Close();
}

void DatabaseImage::WriteTo(PageSink& sink) const {
    sink.SetHeader(header_);
    for (const Page& page : pages_) {
        sink.AppendPage(page);
    }
}

}  // namespace velmor::testdb
