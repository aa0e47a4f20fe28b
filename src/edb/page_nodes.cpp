#include "edb/page_nodes.h"

#include <algorithm>

namespace velmor {

PageNodes::PageNodes(const PageView& page, const DatabaseFormat& format)
    : page_(page), format_(format) {
    const int64_t roomForTags = (page_.size() - format_.pageHeaderSize()) / kTagSize;
    tagCount_ = static_cast<int>(
        std::clamp<int64_t>(page_.u16(kPageTagCountOffset), 0, std::max<int64_t>(roomForTags, 0)));
    if ((pageFlags() & kPageFlagRoot) == 0) {
        if (const auto prefix = Value(0)) {
            prefix_ = page_.bytes(prefix->position, prefix->size);
        }
    }
}

std::optional<PageNodes::TagValue> PageNodes::Value(int tag) const {
    if (tag < 0 || tag >= tagCount_) {
        return std::nullopt;
    }
    const int64_t at = page_.size() - kTagSize * (tag + 1);
    const uint16_t sizeWord = page_.u16(at);
    const uint16_t offsetWord = page_.u16(at + 2);
    const uint16_t mask = format_.tagFlagsInNode() ? kLargePageTagMask : kSmallPageTagMask;
    TagValue value{format_.pageHeaderSize() + (offsetWord & mask), sizeWord & mask, 0};
    if (!page_.contains(value.position, value.size)) {
        return std::nullopt;
    }
    value.flags = static_cast<uint8_t>(
        (format_.tagFlagsInNode() ? page_.u16(value.position) : offsetWord) >> kTagFlagShift);
    return value;
}

std::optional<PageNode> PageNodes::Node(int tag) const {
    if (tag < 1) {
        return std::nullopt;
    }
    const auto value = Value(tag);
    if (!value) {
        return std::nullopt;
    }
    const PageView node(page_.bytes(value->position, value->size));
    // In the node-flag layout the flags sit in the top bits of whichever word comes first.
    const uint16_t firstWordMask = format_.tagFlagsInNode() ? kSmallPageTagMask : 0xFFFF;
    int64_t pos = 0;
    int64_t common = 0;
    if (value->flags & kTagFlagCommonKey) {
        common = node.u16(pos) & firstWordMask;
        pos += 2;
    }
    if (!node.contains(pos, 2) || common > static_cast<int64_t>(prefix_.size())) {
        return std::nullopt;
    }
    const int64_t localLength = node.u16(pos) & (pos == 0 ? firstWordMask : 0xFFFF);
    pos += 2;
    if (!node.contains(pos, localLength)) {
        return std::nullopt;
    }
    PageNode result;
    result.flags = value->flags;
    result.key.assign(prefix_.begin(), prefix_.begin() + common);
    const auto local = node.bytes(pos, localLength);
    result.key.insert(result.key.end(), local.begin(), local.end());
    pos += localLength;
    result.dataPosition = value->position + pos;
    result.data = node.bytes(pos, node.size() - pos);
    return result;
}

}  // namespace velmor
