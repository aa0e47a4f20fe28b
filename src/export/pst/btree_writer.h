#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "export/pst/pst_bytes.h"

namespace velmor::pst {

struct PageReference {
    uint64_t bid = 0;
    uint64_t offset = 0;
};

// A page of a B-tree written below another: its first key and where it is.
struct BTreeChild {
    uint64_t key = 0;
    PageReference page;
};

// Writes one B-tree page of count entries of entrySize bytes at level (0: leaves); where it
// went, or nothing after a failed write.
using BTreePageWriter = std::function<std::optional<PageReference>(
    const Bytes& entries, size_t count, size_t entrySize, uint8_t level)>;

// Writes the leaf pages of a B-tree whose entries come in key order, each page as soon as it
// is full, and keeps only the first key and place of each: memory grows by one small entry
// per page, not per entry.
class BTreeLeafWriter {
public:
    BTreeLeafWriter(size_t entrySize, BTreePageWriter write);

    // Adds the next entry; false after a failed write.
    bool Add(uint64_t key, const Bytes& entry);
    // Writes the page being filled; false after a failed write.
    bool Finish();

    const std::vector<BTreeChild>& pages() const { return pages_; }
    bool empty() const { return pages_.empty() && count_ == 0; }

private:
    size_t entrySize_;
    size_t perPage_;
    BTreePageWriter write_;
    Bytes entries_;
    size_t count_ = 0;
    uint64_t firstKey_ = 0;
    std::vector<BTreeChild> pages_;
};

// Writes the index pages above the pages given (in key order), level by level, until one
// page remains: the root, or nothing after a failed write.
std::optional<PageReference> WriteBTreeIndex(std::vector<BTreeChild> pages,
                                             const BTreePageWriter& write);

}  // namespace velmor::pst
