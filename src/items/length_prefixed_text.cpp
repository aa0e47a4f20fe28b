#include "items/length_prefixed_text.h"

#include <vector>

#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_text_decoder.h"

namespace velmor {

namespace {

constexpr int64_t kCountByte = 4;
constexpr int64_t kFirstTextByte = 5;
constexpr int64_t kShortestCount = 2;

}  // namespace

std::u16string DecodeLengthPrefixedText(const PageView& buffer, int64_t s, int64_t available) {
    const int64_t count = buffer.u8(s + kCountByte);
    if (count >= available || s > PAGE_SIZE || count < kShortestCount) {
        return {};
    }
    std::vector<uint8_t> stored;
    stored.reserve(static_cast<size_t>(count));
    for (int64_t i = 0; i < count; ++i) {
        // Bytes outside the buffer read as 0.
        stored.push_back(buffer.u8(s + kFirstTextByte + i));
    }
    const DecodedText decoded = DecodeStoredText(stored);
    const bool startsAboveU00FF = stored[1] != 0;
    if (decoded.form == StoredTextForm::Utf16 && startsAboveU00FF) {
        return decoded.text;
    }
    std::erase(stored, uint8_t{0});
    if (decoded.form == StoredTextForm::EightBit) {
        return CodePageToUtf16(stored, EightBitCodePage());
    }
    return {stored.begin(), stored.end()};
}

}  // namespace velmor
