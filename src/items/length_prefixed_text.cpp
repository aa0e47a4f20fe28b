#include "items/length_prefixed_text.h"

#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"

namespace velmor {

namespace {

constexpr int64_t kCountByte = 4;
constexpr int64_t kFirstTextByte = 5;
constexpr int64_t kShortestCount = 2;

}  // namespace

std::vector<uint8_t> LengthPrefixedBytes(const PageView& buffer, int64_t s, int64_t available) {
    const int64_t count = buffer.u8(s + kCountByte);
    if (count >= available || s > PAGE_SIZE || count < kShortestCount) {
        return {};
    }
    std::vector<uint8_t> stored;
    stored.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        stored.push_back(buffer.u8(s + kFirstTextByte + i));
    }
    return stored;
}

DecodedText LengthPrefixedText(std::vector<uint8_t> stored, std::optional<StoredTextForm> tieForm) {
    if (stored.empty()) {
        return {};
    }
    DecodedText decoded = DecodeStoredTextNotingForms(stored, tieForm);
    const bool startsAboveU00FF = stored[1] != 0;
    if (decoded.form == StoredTextForm::Utf16 && startsAboveU00FF) {
        return decoded;
    }
    std::erase(stored, uint8_t{0});
    decoded.text = decoded.form == StoredTextForm::EightBit
                       ? CodePageToUtf16(stored, EightBitCodePage())
                       : std::u16string(stored.begin(), stored.end());
    return decoded;
}

std::u16string DecodeLengthPrefixedText(const PageView& buffer, int64_t s, int64_t available) {
    return LengthPrefixedText(LengthPrefixedBytes(buffer, s, available), std::nullopt).text;
}

}  // namespace velmor
