#pragma once

#include <cstdint>

#include "edb_writer/page.h"

namespace velmor::testdb {

// Offset, in the database header, of the highest object id that readers take as genuine.
inline constexpr int64_t kHighestObjectIdOffset = 212;

// A header page carrying the given highest object id, also a bad one (0, negative, too big).
inline Page MakeHeaderPage(int32_t highestObjectId) {
    Page header;
    header.Put32(kHighestObjectIdOffset, static_cast<uint32_t>(highestObjectId));
    return header;
}

}  // namespace velmor::testdb
