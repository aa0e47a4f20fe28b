#include "edb_writer/long_value_page.h"

#include <stdexcept>

namespace velmor::testdb {

namespace {

constexpr int64_t kKeyHighByte = 42;
constexpr int64_t kKeyLowByte = 43;

}  // namespace

Page MakeLongValuePage(int32_t objectId, uint16_t key, std::span<const uint8_t> data) {
    if (kLongValueDataOffset + static_cast<int64_t>(data.size()) > kLongValueReadSize) {
        throw std::length_error("a long value must end within the first 4000 bytes of its page");
    }
    Page page(objectId);
    page.Put8(kKeyHighByte, static_cast<uint8_t>(key >> 8));
    page.Put8(kKeyLowByte, static_cast<uint8_t>(key));
    page.PutBytes(kLongValueDataOffset, data);
    return page;
}

}  // namespace velmor::testdb
