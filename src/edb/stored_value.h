#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "edb/page_view.h"

namespace velmor {

// Bytes as upper-case hexadecimal text, two digits per byte; empty when the bytes would run
// past the end of the buffer or the length is not positive.
std::u16string HexKey(const PageView& page, int64_t start, int64_t length);

// Stored text, UTF-16LE or 8-bit, decided by the whole value (DecodeStoredText). Empty when
// the bytes would run past the buffer.
std::u16string DecodeStoredString(const PageView& page, int64_t start, int64_t length);

// A stored name read once: its text, and its bytes, which tell the store's form and code page
// and are read again once those are known.
struct StoredName {
    std::u16string text;  // as DecodeStoredString reads it
    std::vector<uint8_t> bytes;
};
// Also notes the name's evidence of the store's form (NoteNameForm).
StoredName DecodeStoredName(const PageView& page, int64_t start, int64_t length);

// Every non-zero byte of the span as one character, in order (UTF-16LE Latin text reads as
// its letters).
std::u16string NonZeroBytesAsText(std::span<const uint8_t> bytes);

}  // namespace velmor
