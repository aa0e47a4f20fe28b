#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmor::pst {

using Bytes = std::vector<uint8_t>;

// Little-endian values appended to or set inside a byte vector.
inline void Put8(Bytes& bytes, uint8_t value) {
    bytes.push_back(value);
}
inline void Put16(Bytes& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}
inline void Put32(Bytes& bytes, uint32_t value) {
    Put16(bytes, static_cast<uint16_t>(value));
    Put16(bytes, static_cast<uint16_t>(value >> 16));
}
inline void Put64(Bytes& bytes, uint64_t value) {
    Put32(bytes, static_cast<uint32_t>(value));
    Put32(bytes, static_cast<uint32_t>(value >> 32));
}
inline void PutBytes(Bytes& bytes, const Bytes& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
}
inline void Set16(Bytes& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}
inline void Set32(Bytes& bytes, size_t at, uint32_t value) {
    Set16(bytes, at, static_cast<uint16_t>(value));
    Set16(bytes, at + 2, static_cast<uint16_t>(value >> 16));
}
inline void Set64(Bytes& bytes, size_t at, uint64_t value) {
    Set32(bytes, at, static_cast<uint32_t>(value));
    Set32(bytes, at + 4, static_cast<uint32_t>(value >> 32));
}

// Text as the file stores it: UTF-16 little-endian without a terminator.
inline Bytes Utf16Bytes(const std::u16string& text) {
    Bytes bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t unit : text) {
        Put16(bytes, static_cast<uint16_t>(unit));
    }
    return bytes;
}

}  // namespace velmor::pst
