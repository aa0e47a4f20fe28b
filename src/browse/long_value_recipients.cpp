#include "browse/long_value_recipients.h"

#include <array>

#include "browse/recipient_list.h"

namespace velmor {

namespace {

constexpr int64_t kPageHeadLength = 48;
constexpr int64_t kKeyHighByte = 42;
constexpr int64_t kKeyLowByte = 43;
constexpr int64_t kListLength = 4000;

}  // namespace

bool LongValueRecipients::IndexPages() {
    const ObjectPageGroup* group =
        context_.store.pageGroups.Find(context_.store.schema.msgLongValueId);
    if (group == nullptr) {
        return true;
    }
    const int64_t lastPageStart = static_cast<int64_t>(context_.file.fileSize()) - PAGE_SIZE;
    std::array<uint8_t, kPageHeadLength> head{};
    const PageView view(head);
    for (int32_t pageNumber : group->pages) {
        if (context_.stop.requested()) {
            return false;
        }
        const int64_t offset = PageOffset(pageNumber);
        if (offset < 0 || offset > lastPageStart ||
            context_.file.ReadAt(offset, head) != kPageHeadLength) {
            return true;
        }
        const uint32_t key = (view.u8(kKeyHighByte) << 8) | view.u8(kKeyLowByte);
        if (key != 0) {
            firstPageByKey_.try_emplace(key, pageNumber);
        }
    }
    return true;
}

std::optional<std::vector<std::u16string>> LongValueRecipients::Read(uint32_t longValueId) {
    if (!indexed_) {
        if (!IndexPages()) {
            firstPageByKey_.clear();
            return std::nullopt;
        }
        indexed_ = true;
    }
    auto it = firstPageByKey_.find(longValueId);
    if (it == firstPageByKey_.end()) {
        return std::nullopt;
    }
    std::array<uint8_t, kListLength> list{};
    if (context_.file.ReadAt(PageOffset(it->second), list) != kListLength) {
        return std::nullopt;
    }
    return DecodeRecipientNames(PageView(list), 0, kListLength);
}

}  // namespace velmor
