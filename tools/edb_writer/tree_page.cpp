#include "edb_writer/tree_page.h"

#include <algorithm>
#include <stdexcept>

#include "edb_writer/little_endian.h"
#include "edb_writer/page.h"

namespace velmor::testdb {

namespace {

constexpr int64_t kDatabaseTimeOffset = 8;
constexpr int64_t kTagCountOffset = 34;
constexpr int64_t kPageFlagsOffset = 36;
constexpr int64_t kSmallHeaderSize = 40;
constexpr int64_t kLargeHeaderSize = 80;
constexpr int64_t kTagSize = 4;
constexpr int kTagFlagShift = 13;

int64_t HeaderSize(const TreePageLayout& layout) {
    return layout.tagFlagsInNode ? kLargeHeaderSize : kSmallHeaderSize;
}

size_t CommonLength(std::span<const uint8_t> prefix, const std::vector<uint8_t>& key) {
    size_t common = 0;
    while (common < prefix.size() && common < key.size() && prefix[common] == key[common]) {
        ++common;
    }
    return common;
}

std::vector<uint8_t> EncodeNode(const TreeNode& node, size_t common, uint8_t flags,
                                bool flagsInNode) {
    std::vector<uint8_t> bytes;
    auto put16 = [&bytes](uint16_t value) {
        bytes.push_back(static_cast<uint8_t>(value));
        bytes.push_back(static_cast<uint8_t>(value >> 8));
    };
    if (common > 0) {
        put16(static_cast<uint16_t>(common));
    }
    put16(static_cast<uint16_t>(node.key.size() - common));
    bytes.insert(bytes.end(), node.key.begin() + static_cast<std::ptrdiff_t>(common),
                 node.key.end());
    bytes.insert(bytes.end(), node.data.begin(), node.data.end());
    if (flagsInNode) {
        bytes[1] = static_cast<uint8_t>(bytes[1] | (flags << (kTagFlagShift - 8)));
    }
    return bytes;
}

}  // namespace

int64_t TreeNodeSize(const TreeNode& node, size_t common) {
    return kTagSize + (common > 0 ? 2 : 0) + 2 + static_cast<int64_t>(node.key.size() - common) +
           static_cast<int64_t>(node.data.size());
}

int64_t TreePageRoom(const TreePageLayout& layout, size_t prefixSize) {
    return layout.pageSize - HeaderSize(layout) - layout.leadingGap - kTagSize -
           static_cast<int64_t>(prefixSize);
}

std::vector<uint8_t> ComposeTreePage(int32_t objectId, const TreePageLayout& layout,
                                     std::span<const uint8_t> prefix,
                                     std::span<const TreeNode> nodes) {
    std::vector<uint8_t> page(static_cast<size_t>(layout.pageSize), 0);
    StoreLe32(page.data() + kObjectIdOffset, static_cast<uint32_t>(objectId));
    StoreLe64(page.data() + kDatabaseTimeOffset, layout.databaseTime);
    StoreLe16(page.data() + kTagCountOffset, static_cast<uint16_t>(nodes.size() + 1));
    StoreLe32(page.data() + kPageFlagsOffset, layout.pageFlags);

    const int64_t header = HeaderSize(layout);
    int64_t used = header + layout.leadingGap;
    auto place = [&](int tag, const std::vector<uint8_t>& value, uint8_t flags) {
        const int64_t tagsStart =
            layout.pageSize - kTagSize * static_cast<int64_t>(nodes.size() + 1);
        if (used + static_cast<int64_t>(value.size()) > tagsStart) {
            throw std::length_error("the nodes do not fit on the page");
        }
        std::copy(value.begin(), value.end(), page.begin() + used);
        uint8_t* entry = page.data() + layout.pageSize - kTagSize * (tag + 1);
        StoreLe16(entry, static_cast<uint16_t>(value.size()));
        const auto offset = static_cast<uint16_t>(used - header);
        StoreLe16(entry + 2, layout.tagFlagsInNode
                                 ? offset
                                 : static_cast<uint16_t>(offset | (flags << kTagFlagShift)));
        used += static_cast<int64_t>(value.size());
    };
    for (int tag = static_cast<int>(nodes.size()); tag >= 1; --tag) {
        const TreeNode& node = nodes[static_cast<size_t>(tag - 1)];
        const size_t common = CommonLength(prefix, node.key);
        const uint8_t flags =
            static_cast<uint8_t>(kTreeTagPlain | (common > 0 ? kTreeTagCommonKey : 0) |
                                 (node.defunct ? kTreeTagDefunct : 0));
        place(tag, EncodeNode(node, common, flags, layout.tagFlagsInNode), flags);
    }
    place(0, std::vector<uint8_t>(prefix.begin(), prefix.end()), 0);
    return page;
}

}  // namespace velmor::testdb
