#pragma once

#include <cstdint>
#include <string>

#include "edb/page_view.h"

namespace velmor {

// Bytes as upper-case hexadecimal text, two digits per byte; empty when the bytes would run
// past the end of the buffer or the length is not positive.
std::u16string HexKey(const PageView& page, int64_t start, int64_t length);

// Stored text: UTF-16LE when the first byte is not 0 and the second is 0, otherwise 8-bit
// Windows-1252; cut at the first zero. Empty when the bytes would run past the buffer.
std::u16string DecodeStoredString(const PageView& page, int64_t start, int64_t length);

// Every non-zero byte of the span as one character, in order (UTF-16LE Latin text reads as
// its letters).
std::u16string NonZeroBytesAsText(std::span<const uint8_t> bytes);

}  // namespace velmor
