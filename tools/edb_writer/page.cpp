#include "edb_writer/page.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "edb_writer/little_endian.h"

namespace velmor::testdb {

Page::Page(int32_t objectId) {
    SetObjectId(objectId);
}

int32_t Page::objectId() const {
    return static_cast<int32_t>(u32(kObjectIdOffset));
}

void Page::Put8(int64_t pos, uint8_t value) {
    *At(pos, 1) = value;
}

void Page::Put16(int64_t pos, uint16_t value) {
    StoreLe16(At(pos, 2), value);
}

void Page::Put32(int64_t pos, uint32_t value) {
    StoreLe32(At(pos, 4), value);
}

void Page::Put64(int64_t pos, uint64_t value) {
    StoreLe64(At(pos, 8), value);
}

void Page::PutBytes(int64_t pos, std::span<const uint8_t> data) {
    std::copy(data.begin(), data.end(), At(pos, static_cast<int64_t>(data.size())));
}

void Page::PutClipped(int64_t pos, std::span<const uint8_t> data) {
    const int64_t room = kPageSize - pos;
    if (pos >= 0 && room <= 0) {
        return;
    }
    PutBytes(pos, data.first(std::min<size_t>(data.size(), static_cast<size_t>(room))));
}

uint8_t Page::u8(int64_t pos) const {
    return *At(pos, 1);
}

uint16_t Page::u16(int64_t pos) const {
    return LoadLe16(At(pos, 2));
}

uint32_t Page::u32(int64_t pos) const {
    return LoadLe32(At(pos, 4));
}

void Page::Reset(int32_t objectId) {
    bytes_.fill(0);
    SetObjectId(objectId);
}

uint8_t* Page::At(int64_t pos, int64_t width) {
    return const_cast<uint8_t*>(std::as_const(*this).At(pos, width));
}

const uint8_t* Page::At(int64_t pos, int64_t width) const {
    if (pos < 0 || width < 0 || pos > kPageSize - width) {
        throw std::out_of_range("page write of " + std::to_string(width) + " bytes at " +
                                std::to_string(pos));
    }
    return bytes_.data() + pos;
}

}  // namespace velmor::testdb
