#pragma once

#include <cstdint>

#include "edb_writer/page.h"

namespace velmor::testdb {

// Where composed pages go: page p lies at file offset (p + 1) * 4096, after the database
// header (page -1) at offset 0. Pages are appended in file order.
class PageSink {
public:
    virtual ~PageSink() = default;

    // Appends the next page and returns its page number.
    virtual int32_t AppendPage(const Page& page) = 0;
    virtual int32_t pageCount() const = 0;
    // The database header; it may be set at any time, the last one set is written.
    virtual void SetHeader(const Page& header) = 0;
};

}  // namespace velmor::testdb
