#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmor {

struct OfferedCodePage {
    int codePage;
    std::u16string_view name;
};

// The Windows code pages a store's 8-bit text can be read in, as the window offers them.
inline constexpr std::array<OfferedCodePage, 14> kOfferedCodePages = {{
    {874, u"874 Thai"},
    {932, u"932 Japanese"},
    {936, u"936 Chinese (Simplified)"},
    {949, u"949 Korean"},
    {950, u"950 Chinese (Traditional)"},
    {1250, u"1250 Central European"},
    {1251, u"1251 Cyrillic"},
    {1252, u"1252 Western European"},
    {1253, u"1253 Greek"},
    {1254, u"1254 Turkish"},
    {1255, u"1255 Hebrew"},
    {1256, u"1256 Arabic"},
    {1257, u"1257 Baltic"},
    {1258, u"1258 Vietnamese"},
}};

// The status line after discovery: the code page the store's 8-bit text is read in and
// whether the user chose it or it was detected.
std::u16string CodePageStatus(int codePage, bool chosen);

}  // namespace velmor
