#include "edb/code_page_text.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <string>

#include "edb/text_codec.h"

namespace velmor {

namespace {

// Room for what a converter holds back: a letter and the marks composed with it so far.
constexpr size_t kHeldBackBytes = 64;

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

// Takes the UTF-16LE units iconv wrote into the buffer.
void AppendUnits(const char* begin, const char* end, std::u16string& out) {
    for (const char* p = begin; p + 1 < end; p += 2) {
        out +=
            static_cast<char16_t>(static_cast<uint8_t>(p[0]) | (static_cast<uint8_t>(p[1]) << 8));
    }
}

// The converters of code pages with combining marks (Hebrew, Vietnamese) hold a letter back
// until they see whether a mark follows; flushing writes it out.
void Flush(iconv_t converter, std::u16string& out) {
    std::array<char, kHeldBackBytes> buffer{};
    char* outPos = buffer.data();
    size_t outLeft = buffer.size();
    iconv(converter, nullptr, nullptr, &outPos, &outLeft);
    AppendUnits(buffer.data(), outPos, out);
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
        AppendUnits(buffer.data(), outPos, out);
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            // Not text of the code page (or cut short): this byte as Windows-1252, after the
            // letter the converter still holds.
            Flush(converter, out);
            out += Windows1252ToUtf16(std::span(reinterpret_cast<const uint8_t*>(in), 1));
            ++in;
            --inLeft;
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
        }
    }
    Flush(converter, out);
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
