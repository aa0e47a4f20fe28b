#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace velmor::testdb {

inline constexpr int64_t kPageSize = 4096;
// Record scans start after the page header.
inline constexpr int64_t kPageBodyStart = 40;
// Every page names the tree that owns it here.
inline constexpr int64_t kObjectIdOffset = 24;

// One 4096-byte page image. Writes outside the page are programming errors and throw
// std::out_of_range; PutClipped is the one way to cut a value off at the page end.
class Page {
public:
    explicit Page(int32_t objectId = 0);

    int32_t objectId() const;
    void SetObjectId(int32_t objectId) { Put32(kObjectIdOffset, static_cast<uint32_t>(objectId)); }

    void Put8(int64_t pos, uint8_t value);
    void Put16(int64_t pos, uint16_t value);
    void Put32(int64_t pos, uint32_t value);
    void Put64(int64_t pos, uint64_t value);
    void PutBytes(int64_t pos, std::span<const uint8_t> data);
    // Writes the part of data that lies inside the page, as a damaged page would hold it.
    void PutClipped(int64_t pos, std::span<const uint8_t> data);

    uint8_t u8(int64_t pos) const;
    uint16_t u16(int64_t pos) const;
    uint32_t u32(int64_t pos) const;

    std::span<const uint8_t, kPageSize> bytes() const { return bytes_; }
    std::span<uint8_t, kPageSize> bytes() { return bytes_; }

    // An empty page of the given object, for reuse without reallocation.
    void Reset(int32_t objectId);

private:
    uint8_t* At(int64_t pos, int64_t width);
    const uint8_t* At(int64_t pos, int64_t width) const;

    std::array<uint8_t, kPageSize> bytes_{};
};

}  // namespace velmor::testdb
