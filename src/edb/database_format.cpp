#include "edb/database_format.h"

#include <array>

namespace velmor {

namespace {

constexpr std::array<int64_t, 4> kEnginePageSizes = {4096, 8192, 16384, 32768};

}  // namespace

DatabaseFormat ReadDatabaseFormat(EdbFile& file) {
    std::array<uint8_t, kHeaderPageSizeOffset + 4> head{};
    DatabaseFormat format;
    if (file.ReadAt(0, head) != static_cast<int64_t>(head.size())) {
        return format;
    }
    const PageView view(head);
    format.formatRevision = view.u32(kHeaderFormatRevisionOffset);
    const int64_t pageSize = view.u32(kHeaderPageSizeOffset);
    for (int64_t size : kEnginePageSizes) {
        if (size == pageSize) {
            format.pageSize = size;
        }
    }
    return format;
}

}  // namespace velmor
