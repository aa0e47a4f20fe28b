#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "edb/database_format.h"
#include "edb/page_view.h"

namespace velmor {

// Page header fields that the tree readers use.
inline constexpr int64_t kPageDatabaseTimeOffset = 8;
inline constexpr int64_t kPageTagCountOffset = 34;
inline constexpr int64_t kPageFlagsOffset = 36;

inline constexpr uint32_t kPageFlagRoot = 0x01;
inline constexpr uint32_t kPageFlagLeaf = 0x02;
inline constexpr uint32_t kPageFlagParent = 0x04;
inline constexpr uint32_t kPageFlagEmpty = 0x08;
inline constexpr uint32_t kPageFlagSpaceTree = 0x20;

// A tag's flags: the node is deleted, or its key starts with bytes of the page's key prefix.
inline constexpr uint8_t kTagFlagDefunct = 0x02;
inline constexpr uint8_t kTagFlagCommonKey = 0x04;

inline constexpr int64_t kTagSize = 4;
inline constexpr int kTagFlagShift = 13;
inline constexpr uint16_t kSmallPageTagMask = 0x1FFF;
inline constexpr uint16_t kLargePageTagMask = 0x7FFF;

// One node of a page: its whole key (the shared prefix bytes put back) and its data.
struct PageNode {
    std::vector<uint8_t> key;
    std::span<const uint8_t> data;
    int64_t dataPosition = 0;  // position of the data in the page
    uint8_t flags = 0;
};

// The nodes of one page, found through the tag array that runs down from the page end. Tag 0
// holds the page's key prefix (on a root page, the tree's own header instead).
class PageNodes {
public:
    PageNodes(const PageView& page, const DatabaseFormat& format);

    uint32_t pageFlags() const { return page_.u32(kPageFlagsOffset); }
    uint64_t databaseTime() const { return page_.u64(kPageDatabaseTimeOffset); }
    // Tags that lie wholly inside the page, tag 0 included.
    int tagCount() const { return tagCount_; }

    // Node of tag 1 and up; nothing when its value or its key runs outside the page or claims
    // more prefix bytes than the page has.
    std::optional<PageNode> Node(int tag) const;

private:
    struct TagValue {
        int64_t position = 0;
        int64_t size = 0;
        uint8_t flags = 0;
    };
    std::optional<TagValue> Value(int tag) const;

    PageView page_;
    DatabaseFormat format_;
    int tagCount_ = 0;
    std::span<const uint8_t> prefix_;
};

}  // namespace velmor
