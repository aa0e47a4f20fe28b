#include "edb/long_value_index.h"

#include "edb/page_nodes.h"

namespace velmor {

namespace {

constexpr size_t kRootKeyLength = 4;
constexpr size_t kChunkKeyLength = 8;
constexpr size_t kRootDataLength = 8;
constexpr uint32_t kStalePageFlags = kPageFlagParent | kPageFlagSpaceTree | kPageFlagEmpty;

uint32_t BigEndian32(const std::vector<uint8_t>& key, size_t at) {
    return (uint32_t{key[at]} << 24) | (uint32_t{key[at + 1]} << 16) |
           (uint32_t{key[at + 2]} << 8) | uint32_t{key[at + 3]};
}

}  // namespace

void LongValueIndex::AddPage(const PageView& page, int64_t fileOffset,
                             const DatabaseFormat& format) {
    const PageNodes nodes(page, format);
    const uint32_t flags = nodes.pageFlags();
    if ((flags & kPageFlagLeaf) == 0 || (flags & kStalePageFlags) != 0) {
        return;
    }
    const uint64_t time = nodes.databaseTime();
    for (int tag = 1; tag < nodes.tagCount(); ++tag) {
        const auto node = nodes.Node(tag);
        if (!node || (node->flags & kTagFlagDefunct) != 0) {
            continue;
        }
        if (node->key.size() == kRootKeyLength && node->data.size() >= kRootDataLength) {
            const PageView data(node->data);
            LongValueEntry& entry = entries_[BigEndian32(node->key, 0)];
            if (!entry.root || entry.root->pageTime < time) {
                entry.root = LongValueRoot{data.u32(0), data.u32(4), time};
            }
        } else if (node->key.size() == kChunkKeyLength) {
            entries_[BigEndian32(node->key, 0)].chunks.push_back(
                LongValueChunk{BigEndian32(node->key, 4), fileOffset + node->dataPosition,
                               static_cast<uint32_t>(node->data.size()), time});
        }
    }
}

const LongValueEntry* LongValueIndex::Find(uint32_t id) const {
    const auto it = entries_.find(id);
    return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace velmor
