#include "items/length_prefixed_text.h"

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
    std::u16string text;
    for (int64_t i = 0; i < count; ++i) {
        // Bytes outside the buffer read as 0 and are dropped like stored zero bytes.
        const uint8_t byte = buffer.u8(s + kFirstTextByte + i);
        if (byte != 0) {
            text += static_cast<char16_t>(byte);
        }
    }
    return text;
}

}  // namespace velmor
