#pragma once

#include <cstdint>

namespace velmor {

// Geometry of an ESE database file with 4096-byte pages.
inline constexpr int64_t PAGE_SIZE = 4096;
inline constexpr int64_t kPageHeaderSize = 40;  // record scans start after the page header
inline constexpr int64_t kChunkSize = 65536;    // unit of the full-file pass
inline constexpr int64_t kPagesPerChunk = kChunkSize / PAGE_SIZE;

// Byte offset, in every page, of the object id of the tree that owns the page.
inline constexpr int64_t kObjectIdOffset = 24;
// Byte offset, in the database header, of the highest object id.
inline constexpr int64_t kHeaderObjectIdBoundOffset = 212;
// Object id bound used when the header value is unusable.
inline constexpr int32_t kDefaultObjectIdBound = 1000;

// Page number p lies at file offset (p + 1) * 4096; the database header is page -1.
inline constexpr int64_t PageOffset(int32_t pageNumber) {
    return (static_cast<int64_t>(pageNumber) + 1) * PAGE_SIZE;
}

}  // namespace velmor
