#include "edb/long_value_reference.h"

#include "edb/page_view.h"

namespace velmor {

namespace {

constexpr size_t kIdLength = 4;
constexpr uint16_t kSeparatedBit = 0x8000;
constexpr uint16_t kOffsetMask = 0x7FFF;

}  // namespace

std::vector<uint32_t> LongValueIds(uint8_t flags, std::span<const uint8_t> value) {
    std::vector<uint32_t> ids;
    const PageView view(value);
    if ((flags & kValueFlagMultiValued) != 0) {
        // The first offset points just past the offset list, so it also counts the values.
        const int64_t listEnd = view.u16(0) & kOffsetMask;
        for (int64_t at = 0; at + 2 <= listEnd && view.contains(at, 2); at += 2) {
            const uint16_t entry = view.u16(at);
            const int64_t start = entry & kOffsetMask;
            const int64_t end = at + 4 <= listEnd ? (view.u16(at + 2) & kOffsetMask) : view.size();
            if ((entry & kSeparatedBit) != 0 && end - start == kIdLength &&
                view.contains(start, kIdLength)) {
                ids.push_back(view.u32(start));
            }
        }
        return ids;
    }
    if ((flags & kValueFlagLongValue) != 0 && value.size() == kIdLength) {
        ids.push_back(view.u32(0));
    }
    return ids;
}

}  // namespace velmor
