#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "edb/page_view.h"
#include "edb/stored_text_decoder.h"

namespace velmor {

// A sender name stored behind a 4-byte header whose last byte counts the name's bytes: the
// name's bytes (bytes outside the buffer read as 0). Empty when the count does not fit the
// available length or is below 2, or s lies past 4096.
std::vector<uint8_t> LengthPrefixedBytes(const PageView& buffer, int64_t s, int64_t available);

// The name's text: UTF-16 text that starts above U+00FF is read as such (DecodeStoredText, a
// tie taking tieForm when there is one); otherwise every non-zero byte of the name becomes one
// character (UTF-16LE Latin text reads as its letters; 8-bit text in the store's code page).
// Also tells what the name's bytes allow (FormsAllowed).
DecodedText LengthPrefixedText(std::vector<uint8_t> stored, std::optional<StoredTextForm> tieForm);

// Both steps, ties taking the store's form.
std::u16string DecodeLengthPrefixedText(const PageView& buffer, int64_t s, int64_t available);

}  // namespace velmor
