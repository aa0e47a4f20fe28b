#include "edb/stored_value.h"

#include <algorithm>

#include "edb/stored_text_decoder.h"
#include "edb/text_form_evidence.h"

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
    return DecodeStoredText(page.bytes(start, length)).text;
}

StoredName DecodeStoredName(const PageView& page, int64_t start, int64_t length) {
    if (length <= 1) {
        return {};
    }
    const auto bytes = page.bytes(start, length);
    DecodedText decoded = DecodeStoredTextNotingForms(bytes, std::nullopt);
    NoteNameForm(decoded.allowed);
    return {std::move(decoded.text), {bytes.begin(), bytes.end()}};
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
