#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmor {

inline constexpr int kWindowsWesternCodePage = 1252;
inline constexpr int kUtf8CodePage = 65001;
inline constexpr int kMacRomanCodePage = 10000;

// 8-bit (or double-byte) text of a Windows code page as UTF-16; 65001 is UTF-8. Windows-1252,
// a code page the system cannot convert, and each byte sequence that is not text of the code
// page, are read as Windows-1252.
std::u16string CodePageToUtf16(std::span<const uint8_t> bytes, int codePage);

// Whether the system can convert text of the code page.
bool IsConvertibleCodePage(int codePage);

}  // namespace velmor
