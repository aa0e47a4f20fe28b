#pragma once

#include <cstdint>

#include "edb/edb_file.h"

namespace velmor {

// Byte offsets, in the database header, of the format revision and the page size.
inline constexpr int64_t kHeaderFormatRevisionOffset = 232;
inline constexpr int64_t kHeaderPageSizeOffset = 236;

// From this format revision on, pages of 16 KiB and more keep a tag's three flag bits in the
// first word of its node instead of in the tag's offset word, and have an 80-byte header.
inline constexpr uint32_t kExtendedPageFormatRevision = 0x11;
inline constexpr int64_t kExtendedPageMinimumSize = 16384;
inline constexpr int64_t kExtendedPageHeaderSize = 80;

// How the pages of one database are laid out, as its header says.
struct DatabaseFormat {
    uint32_t formatRevision = 0;
    int64_t pageSize = PAGE_SIZE;

    bool tagFlagsInNode() const {
        return formatRevision >= kExtendedPageFormatRevision &&
               pageSize >= kExtendedPageMinimumSize;
    }
    int64_t pageHeaderSize() const {
        return tagFlagsInNode() ? kExtendedPageHeaderSize : kPageHeaderSize;
    }
};

// The format of the open database; a header whose page size is not one that the engine
// writes (4, 8, 16 or 32 KiB) counts as 4096-byte pages.
DatabaseFormat ReadDatabaseFormat(EdbFile& file);

}  // namespace velmor
