#pragma once

#include <cstdint>
#include <string>

#include "edb/page_view.h"

namespace velmor {

// A sender name stored behind a 4-byte header whose last byte counts the name's bytes. UTF-16
// text that starts above U+00FF is read as such (DecodeStoredText); otherwise every non-zero
// byte of the name becomes one character (UTF-16LE Latin text reads as its letters; 8-bit text
// in the store's code page).
// Empty when the count does not fit the available length or is below 2, or s lies past 4096.
std::u16string DecodeLengthPrefixedText(const PageView& buffer, int64_t s, int64_t available);

}  // namespace velmor
