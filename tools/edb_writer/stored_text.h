#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace velmor::testdb {

// How a text value is stored: UTF-16LE, or 8-bit text in Windows-1252 (Ansi), Windows-1251
// (Cyrillic, as the store of a Russian server holds it) or any other Windows code page
// (EightBitText).
enum class TextEncoding : int { Utf16 = 0, Ansi = 1252, Ansi1251 = 1251 };

// 8-bit text in the Windows code page.
constexpr TextEncoding EightBitText(int codePage) {
    return static_cast<TextEncoding>(codePage);
}

// The stored bytes of a text, without a terminating zero. Characters that the 8-bit code page
// lacks are stored as '?'.
std::vector<uint8_t> EncodeText(std::string_view text, TextEncoding encoding);

// The same with a terminating zero character (two zero bytes for UTF-16).
std::vector<uint8_t> EncodeTerminatedText(std::string_view text, TextEncoding encoding);

// A sender value: four bytes, the length byte m, then m bytes of text (at most 255).
std::vector<uint8_t> EncodeLengthPrefixedText(std::string_view text, TextEncoding encoding);

}  // namespace velmor::testdb
