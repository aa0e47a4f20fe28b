#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "edb_writer/little_endian.h"

namespace velmor::testdb {

// Directory, padding and a few values: one allocation for most records.
inline constexpr size_t kTypicalRecordSize = 1024;

// Builds a record image front to back; positions are counted from the record's first byte.
class ByteWriter {
public:
    ByteWriter() = default;
    explicit ByteWriter(size_t capacity) { bytes_.reserve(capacity); }

    size_t size() const { return bytes_.size(); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t> Take() { return std::move(bytes_); }

    void U8(uint8_t value) { bytes_.push_back(value); }
    void U16(uint16_t value) { StoreLe16(Grow(2), value); }
    void U32(uint32_t value) { StoreLe32(Grow(4), value); }
    void U64(uint64_t value) { StoreLe64(Grow(8), value); }
    void Bytes(std::span<const uint8_t> data) {
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }
    void Zeros(size_t count) { bytes_.resize(bytes_.size() + count, 0); }
    // Zero bytes up to the given size; nothing when the image is already that long.
    void PadTo(size_t size) {
        if (bytes_.size() < size) {
            bytes_.resize(size, 0);
        }
    }
    void Patch16(size_t pos, uint16_t value) { StoreLe16(bytes_.data() + pos, value); }

private:
    uint8_t* Grow(size_t count) {
        bytes_.resize(bytes_.size() + count);
        return bytes_.data() + bytes_.size() - count;
    }

    std::vector<uint8_t> bytes_;
};

}  // namespace velmor::testdb
