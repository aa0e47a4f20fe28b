#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace velmor::testdb {

// Page flags and tag flags as the storage engine writes them.
inline constexpr uint32_t kTreePageLeaf = 0x02;
inline constexpr uint32_t kTreePageParent = 0x04;
inline constexpr uint32_t kTreePageLongValue = 0x80;
inline constexpr uint8_t kTreeTagPlain = 0x01;
inline constexpr uint8_t kTreeTagDefunct = 0x02;
inline constexpr uint8_t kTreeTagCommonKey = 0x04;

// One node of a tree page: its whole key and its data.
struct TreeNode {
    std::vector<uint8_t> key;
    std::vector<uint8_t> data;
    bool defunct = false;
};

// How a page is laid out. Newer format revisions with pages of 16 KiB and more keep a tag's
// flags in the top 3 bits of the node's first word (and have an 80-byte header); older ones in
// the top 3 bits of the tag's offset word.
struct TreePageLayout {
    int64_t pageSize = 4096;
    bool tagFlagsInNode = false;
    uint32_t pageFlags = kTreePageLeaf | kTreePageLongValue;
    uint64_t databaseTime = 1;
    // Bytes left unused between the header and the first node.
    int64_t leadingGap = 0;
};

// Bytes that a node takes on a page (tag included) when it shares `common` key bytes with
// the page's key prefix.
int64_t TreeNodeSize(const TreeNode& node, size_t common);

// Room for nodes on an empty page with the given prefix.
int64_t TreePageRoom(const TreePageLayout& layout, size_t prefixSize);

// A page holding the nodes, tags in the given order, with tag 0 holding the key prefix; each
// node's key shares as many leading bytes with the prefix as it can. The node data lies on the
// page in reverse tag order, so physical order is not key order. Throws std::length_error when
// the nodes do not fit.
std::vector<uint8_t> ComposeTreePage(int32_t objectId, const TreePageLayout& layout,
                                     std::span<const uint8_t> prefix,
                                     std::span<const TreeNode> nodes);

}  // namespace velmor::testdb
