#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "edb_writer/page_sink.h"
#include "edb_writer/tree_page.h"

namespace velmor::testdb {

// Writes long values the way the storage engine lays them out in a table's long-value tree:
// per value a root entry (key: the id, 4 bytes most significant first; data: reference count
// and total size) and chunks of at most chunkSize bytes (key: id and offset, 4 bytes each,
// most significant first). Leaf pages are filled in turn, with a key prefix per page; a value
// may continue on the next page. Every finished leaf page leaves a stale copy of its first
// chunk, with other bytes, on a parent page that Finish writes, as a tree that split keeps it.
class LongValueTreeWriter {
public:
    static constexpr size_t kDefaultChunkSize = 1000;

    LongValueTreeWriter(PageSink& sink, int32_t objectId, size_t chunkSize = kDefaultChunkSize);

    // Stores the value and returns its id.
    uint32_t Add(std::span<const uint8_t> value);
    // Writes the page being filled and the parent page with the stale copies.
    void Finish();

    // Pages written so far.
    const std::vector<int32_t>& pageNumbers() const { return pageNumbers_; }

private:
    void Append(TreeNode node);
    void WriteLeaf();
    void WritePage(const std::vector<uint8_t>& bytes);

    PageSink& sink_;
    int32_t objectId_;
    size_t chunkSize_;
    uint32_t nextId_ = 1;
    uint64_t time_ = 1;
    TreePageLayout layout_;
    std::vector<uint8_t> prefix_;
    std::vector<TreeNode> nodes_;
    int64_t used_ = 0;
    std::vector<TreeNode> staleCopies_;
    std::vector<int32_t> pageNumbers_;
};

}  // namespace velmor::testdb
