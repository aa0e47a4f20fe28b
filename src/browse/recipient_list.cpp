#include "browse/recipient_list.h"

#include <vector>

#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"

namespace velmor {

namespace {

constexpr uint16_t kAddressEntryMark = 0x04E4;
constexpr int64_t kEntryLengthField = 2;
constexpr int64_t kTextTypeField = 6;
constexpr int64_t kEightBitFlagField = 9;
constexpr int64_t kTypedTextStart = 6;  // for the text types 'B' and 'E'
constexpr int64_t kUntypedTextStart = 4;
constexpr int64_t kEightBitNameSkip = 2;
constexpr int64_t kWideNameStart = 6;

// The zero-terminated 8-bit text from first, ending at end at the latest.
std::u16string EightBitName(const PageView& block, int64_t first, int64_t end) {
    std::vector<uint8_t> bytes;
    for (int64_t at = first; at < end && block.u8(at) != 0; ++at) {
        bytes.push_back(block.u8(at));
    }
    return CodePageToUtf16(bytes, EightBitCodePage());
}

// The zero-terminated UTF-16LE text from first, ending at end at the latest.
std::u16string WideName(const PageView& block, int64_t first, int64_t end) {
    std::u16string name;
    for (int64_t at = first; at + 2 <= end && block.u16(at) != 0; at += 2) {
        name += static_cast<char16_t>(block.u16(at));
    }
    return name;
}

}  // namespace

std::vector<std::u16string> DecodeRecipientNames(const PageView& block, int64_t pos, int64_t len) {
    if (len >= PAGE_SIZE - pos || len <= 0) {
        return {};
    }
    const int64_t end = pos + len;
    std::vector<std::u16string> names;
    for (int64_t i = 0; i < len; ++i) {
        const int64_t at = pos + i;
        if (block.u16(at) != kAddressEntryMark) {
            continue;
        }
        const int64_t entryLength = block.u8(at + kEntryLengthField);
        if (block.u8(at + kEightBitFlagField) != 0) {
            const uint8_t type = block.u8(at + kTextTypeField);
            const int64_t t =
                (type == 'B' || type == 'E') ? i + kTypedTextStart : i + kUntypedTextStart;
            if (t < len) {
                names.push_back(EightBitName(block, pos + t + kEightBitNameSkip, end));
            }
        } else {
            names.push_back(WideName(block, at + kWideNameStart, end));
        }
        i += entryLength;
    }
    return names;
}

std::u16string JoinRecipientNames(const std::vector<std::u16string>& names,
                                  std::u16string_view separator) {
    std::u16string joined;
    for (size_t i = 0; i < names.size(); ++i) {
        if (i > 0) {
            joined += separator;
        }
        joined += names[i];
    }
    return joined;
}

}  // namespace velmor
