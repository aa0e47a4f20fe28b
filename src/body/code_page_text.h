#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace velmor {

inline constexpr int kWindowsWesternCodePage = 1252;

// 8-bit (or double-byte) text of a Windows code page as UTF-16. Windows-1252, a code page the
// system cannot convert, and each byte sequence that is not text of the code page, are read as
// Windows-1252.
std::u16string CodePageToUtf16(std::span<const uint8_t> bytes, int codePage);

}  // namespace velmor
