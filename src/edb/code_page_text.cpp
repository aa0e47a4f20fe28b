#include "edb/code_page_text.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <string>

#include "edb/text_codec.h"

namespace velmor {

namespace {

// iconv knows most Windows code pages as "CPn"; UTF-8 and Mac Roman by their own names.
std::string ConverterName(int codePage) {
    switch (codePage) {
        case kUtf8CodePage:
            return "UTF-8";
        case kMacRomanCodePage:
            return "MACINTOSH";
        default:
            return "CP" + std::to_string(codePage);
    }
}

// Converts through iconv; false when the code page is unknown to it.
bool Convert(std::span<const uint8_t> bytes, int codePage, std::u16string& out) {
    iconv_t converter = iconv_open("UTF-16LE", ConverterName(codePage).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::array<char, 1024> buffer{};
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPos = buffer.data();
        size_t outLeft = buffer.size();
        const size_t result = iconv(converter, &in, &inLeft, &outPos, &outLeft);
        for (const char* p = buffer.data(); p + 1 < outPos; p += 2) {
            out += static_cast<char16_t>(static_cast<uint8_t>(p[0]) |
                                         (static_cast<uint8_t>(p[1]) << 8));
        }
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // Not text of the code page (or cut short): this byte as Windows-1252.
            out += Windows1252ToUtf16(std::span(reinterpret_cast<const uint8_t*>(in), 1));
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    iconv_close(converter);
    return true;
}

}  // namespace

std::u16string CodePageToUtf16(std::span<const uint8_t> bytes, int codePage) {
    std::u16string text;
    if (codePage == kWindowsWesternCodePage || codePage <= 0 || !Convert(bytes, codePage, text)) {
        return Windows1252ToUtf16(bytes);
    }
    return text;
}

bool IsConvertibleCodePage(int codePage) {
    if (codePage <= 0) {
        return false;
    }
    iconv_t converter = iconv_open("UTF-16LE", ConverterName(codePage).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    iconv_close(converter);
    return true;
}

}  // namespace velmor
