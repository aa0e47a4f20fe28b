#pragma once

#include <cstdint>
#include <span>

#include "edb_writer/page.h"

namespace velmor::testdb {

// A page of the message table's long-value tree holding one long value: its 16-bit key in
// bytes 42 (high byte) and 43 (low byte), its data from byte 48. Readers take the first 4000
// bytes of the page as the value, so the data must end before byte 4000.
inline constexpr int64_t kLongValueDataOffset = 48;
inline constexpr int64_t kLongValueReadSize = 4000;

// Throws std::length_error when the data does not end before byte 4000.
Page MakeLongValuePage(int32_t objectId, uint16_t key, std::span<const uint8_t> data);

}  // namespace velmor::testdb
