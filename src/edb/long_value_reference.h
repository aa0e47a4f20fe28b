#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmor {

// Flag byte of a tagged value whose directory entry says it has one.
inline constexpr uint8_t kValueFlagCompressed = 0x02;
inline constexpr uint8_t kValueFlagLongValue = 0x04;
inline constexpr uint8_t kValueFlagMultiValued = 0x08;

// The long-value ids that a tagged value refers to, given its flag byte and the bytes after
// it: one id (4 bytes, little-endian) for a plain reference, and for a multi-valued column the
// ids of the values that its offset list marks as long values (bit 0x8000 of the offset).
// Empty when the value is stored in line.
std::vector<uint32_t> LongValueIds(uint8_t flags, std::span<const uint8_t> value);

}  // namespace velmor
