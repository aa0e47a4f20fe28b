#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace velmor {

// Stored 8-bit text is Windows-1252; each byte becomes one UTF-16 code unit.
char16_t Windows1252ToUtf16(uint8_t byte);
std::u16string Windows1252ToUtf16(std::span<const uint8_t> bytes);

// Front ends and file names speak UTF-8; unpaired surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace velmor
