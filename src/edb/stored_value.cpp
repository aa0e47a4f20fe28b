#include "edb/stored_value.h"

#include "edb/text_codec.h"

namespace velmor {

namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

}  // namespace

std::u16string HexKey(const PageView& page, int64_t start, int64_t length) {
    const auto bytes = page.bytes(start, length);
    if (length <= 0 || bytes.empty()) {
        return {};
    }
    std::u16string text(bytes.size() * 2, u'0');
    for (size_t i = 0; i < bytes.size(); ++i) {
        text[2 * i] = kHexDigits[bytes[i] >> 4];
        text[2 * i + 1] = kHexDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::u16string DecodeStoredString(const PageView& page, int64_t start, int64_t length) {
    if (length <= 1) {
        return {};
    }
    const auto bytes = page.bytes(start, length);
    if (bytes.empty()) {
        return {};
    }
    std::u16string text;
    if (bytes[0] != 0 && bytes[1] == 0) {
        const size_t units = bytes.size() / 2;
        text.reserve(units);
        for (size_t i = 0; i < units; ++i) {
            const auto unit = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
            if (unit == 0) {
                break;
            }
            text += unit;
        }
        return text;
    }
    size_t end = 0;
    while (end < bytes.size() && bytes[end] != 0) {
        ++end;
    }
    return Windows1252ToUtf16(bytes.first(end));
}

std::u16string NonZeroBytesAsText(std::span<const uint8_t> bytes) {
    std::u16string text;
    for (uint8_t byte : bytes) {
        if (byte != 0) {
            text += static_cast<char16_t>(byte);
        }
    }
    return text;
}

}  // namespace velmor
