#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "edb/database_format.h"
#include "edb/page_view.h"

namespace velmor {

// Where one stored piece of a long value lies: the bytes from `offset` of the value are
// `length` bytes at `fileOffset` in the database file.
struct LongValueChunk {
    uint32_t offset = 0;
    int64_t fileOffset = 0;
    uint32_t length = 0;
    uint64_t pageTime = 0;  // database time of the page, to prefer the newest of two copies
};

// The root entry of a long value: how many records refer to it and its total size.
struct LongValueRoot {
    uint32_t referenceCount = 0;
    uint32_t totalSize = 0;
    uint64_t pageTime = 0;
};

struct LongValueEntry {
    std::optional<LongValueRoot> root;
    std::vector<LongValueChunk> chunks;  // in the order found
};

// Every long value of one long-value tree, found on its leaf pages without walking the tree:
// a root entry has the id (4 bytes, most significant first) as key and the reference count and
// size as data; a chunk has the id and the offset of its bytes in the value as key. Parent,
// space-tree and empty pages keep stale copies and are passed over, as are deleted nodes.
class LongValueIndex {
public:
    // Adds the nodes of one page that lies at fileOffset; the page bytes may be anything.
    void AddPage(const PageView& page, int64_t fileOffset, const DatabaseFormat& format);

    const LongValueEntry* Find(uint32_t id) const;
    size_t size() const { return entries_.size(); }

private:
    std::unordered_map<uint32_t, LongValueEntry> entries_;
};

}  // namespace velmor
