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

// A byte inside a UTF-8 character, never its first: text is not cut before one.
constexpr bool IsUtf8ContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace velmor
