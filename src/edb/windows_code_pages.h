#pragma once

#include <array>

namespace velmor {

inline constexpr int kThaiCodePage = 874;
inline constexpr int kJapaneseCodePage = 932;
inline constexpr int kSimplifiedChineseCodePage = 936;
inline constexpr int kKoreanCodePage = 949;
inline constexpr int kTraditionalChineseCodePage = 950;
inline constexpr int kCyrillicCodePage = 1251;
inline constexpr int kGreekCodePage = 1253;
inline constexpr int kHebrewCodePage = 1255;
inline constexpr int kArabicCodePage = 1256;

// The Windows code pages a store's 8-bit text can be written in, as the program offers them.
inline constexpr std::array<int, 14> kStoreCodePages = {874,  932,  936,  949,  950,  1250, 1251,
                                                        1252, 1253, 1254, 1255, 1256, 1257, 1258};

}  // namespace velmor
