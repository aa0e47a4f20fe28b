#include "edb_writer/stored_text.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <string>

namespace velmor::testdb {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr uint8_t kUnmappable = '?';
constexpr size_t kLengthPrefixSkip = 4;
constexpr size_t kLongestPrefixedText = 255;

// Code points of the Windows-1252 bytes 0x80 to 0x9F (0 where the byte is undefined).
constexpr std::array<char16_t, 32> kWindows1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Decodes one code point at pos and advances pos past it.
char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<uint8_t>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < extra; ++i) {
        if (pos >= text.size() || (static_cast<uint8_t>(text[pos]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        cp = (cp << 6) | (static_cast<uint8_t>(text[pos++]) & 0x3F);
    }
    return cp;
}

uint8_t ToWindows1252(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<uint8_t>(unit);
    }
    const auto* hit = std::find(kWindows1252High.begin(), kWindows1252High.end(), unit);
    if (unit != 0 && hit != kWindows1252High.end()) {
        return static_cast<uint8_t>(0x80 + (hit - kWindows1252High.begin()));
    }
    return kUnmappable;
}

// UTF-8 text as UTF-16 code units (invalid sequences become U+FFFD).
std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = NextCodePoint(text, pos);
        if (cp < 0x10000) {
            out += static_cast<char16_t>(cp);
        } else {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        }
    }
    return out;
}

// UTF-16 code units as bytes of the Windows code page through iconv, a character at a time
// (Vietnamese letters become a letter and its marks).
std::vector<uint8_t> ToCodePage(const std::u16string& units, int codePage) {
    std::vector<uint8_t> bytes;
    iconv_t converter = iconv_open(("CP" + std::to_string(codePage)).c_str(), "UTF-16LE");
    for (char16_t unit : units) {
        char in[2] = {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
        char out[16] = {};
        char* inPos = in;
        char* outPos = out;
        size_t inLeft = sizeof in;
        size_t outLeft = sizeof out;
        if (iconv(converter, &inPos, &inLeft, &outPos, &outLeft) == static_cast<size_t>(-1)) {
            bytes.push_back(kUnmappable);
            iconv(converter, nullptr, nullptr, nullptr, nullptr);
            continue;
        }
        bytes.insert(bytes.end(), out, outPos);
    }
    iconv_close(converter);
    return bytes;
}

}  // namespace

std::vector<uint8_t> EncodeText(std::string_view text, TextEncoding encoding) {
    std::vector<uint8_t> bytes;
    // Plain ASCII, by far the most common text, needs no conversion.
    if (std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; })) {
        if (encoding != TextEncoding::Utf16) {
            return {text.begin(), text.end()};
        }
        bytes.resize(text.size() * 2, 0);
        for (size_t i = 0; i < text.size(); ++i) {
            bytes[2 * i] = static_cast<uint8_t>(text[i]);
        }
        return bytes;
    }
    const std::u16string units = Utf8ToUtf16(text);
    if (encoding == TextEncoding::Ansi) {
        bytes.reserve(units.size());
        for (char16_t unit : units) {
            bytes.push_back(ToWindows1252(unit));
        }
        return bytes;
    }
    if (encoding != TextEncoding::Utf16) {
        return ToCodePage(units, static_cast<int>(encoding));
    }
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<uint8_t> EncodeTerminatedText(std::string_view text, TextEncoding encoding) {
    std::vector<uint8_t> bytes = EncodeText(text, encoding);
    bytes.resize(bytes.size() + (encoding == TextEncoding::Utf16 ? 2 : 1), 0);
    return bytes;
}

std::vector<uint8_t> EncodeLengthPrefixedText(std::string_view text, TextEncoding encoding) {
    std::vector<uint8_t> textBytes = EncodeText(text, encoding);
    // A UTF-16 text is cut at a whole code unit.
    const size_t longest = kLongestPrefixedText - (encoding == TextEncoding::Utf16 ? 1 : 0);
    textBytes.resize(std::min(textBytes.size(), longest));
    std::vector<uint8_t> bytes(kLengthPrefixSkip, 0);
    bytes.push_back(static_cast<uint8_t>(textBytes.size()));
    bytes.insert(bytes.end(), textBytes.begin(), textBytes.end());
    return bytes;
}

}  // namespace velmor::testdb
