#include "edb_writer/long_value_tree.h"

#include <algorithm>

#include "edb_writer/page.h"

namespace velmor::testdb {

namespace {

constexpr uint32_t kReferenceCount = 1;
constexpr uint8_t kStaleFill = 'X';
// The message table's long-value object also holds pages that recipient readers find by the
// 16-bit key in bytes 42 and 43; four unused bytes after the header keep that key 0 here.
constexpr int64_t kRecipientKeyGap = 4;

void PutBigEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

void PutLittleEndian32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

size_t CommonLength(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t common = 0;
    while (common < a.size() && common < b.size() && a[common] == b[common]) {
        ++common;
    }
    return common;
}

}  // namespace

LongValueTreeWriter::LongValueTreeWriter(PageSink& sink, int32_t objectId, size_t chunkSize)
    : sink_(sink), objectId_(objectId), chunkSize_(std::max<size_t>(chunkSize, 1)) {
    layout_.leadingGap = kRecipientKeyGap;
}

uint32_t LongValueTreeWriter::Add(std::span<const uint8_t> value) {
    const uint32_t id = nextId_++;
    TreeNode root;
    PutBigEndian32(root.key, id);
    PutLittleEndian32(root.data, kReferenceCount);
    PutLittleEndian32(root.data, static_cast<uint32_t>(value.size()));
    Append(std::move(root));
    for (size_t offset = 0; offset < value.size(); offset += chunkSize_) {
        TreeNode chunk;
        PutBigEndian32(chunk.key, id);
        PutBigEndian32(chunk.key, static_cast<uint32_t>(offset));
        const size_t length = std::min(chunkSize_, value.size() - offset);
        chunk.data.assign(value.begin() + static_cast<std::ptrdiff_t>(offset),
                          value.begin() + static_cast<std::ptrdiff_t>(offset + length));
        Append(std::move(chunk));
    }
    return id;
}

void LongValueTreeWriter::Append(TreeNode node) {
    if (!nodes_.empty() && used_ + TreeNodeSize(node, CommonLength(prefix_, node.key)) >
                               TreePageRoom(layout_, prefix_.size())) {
        WriteLeaf();
    }
    if (nodes_.empty()) {
        // The page's prefix: the first id with a zero offset, as the engine starts a page.
        prefix_.assign(node.key.begin(), node.key.begin() + 4);
        prefix_.resize(8, 0);
    }
    used_ += TreeNodeSize(node, CommonLength(prefix_, node.key));
    nodes_.push_back(std::move(node));
}

void LongValueTreeWriter::WriteLeaf() {
    if (nodes_.empty()) {
        return;
    }
    for (const TreeNode& node : nodes_) {
        if (node.key.size() == 8 && staleCopies_.size() < 8) {
            TreeNode stale = node;
            std::fill(stale.data.begin(), stale.data.end(), kStaleFill);
            staleCopies_.push_back(std::move(stale));
            break;
        }
    }
    layout_.pageFlags = kTreePageLeaf | kTreePageLongValue;
    layout_.databaseTime = ++time_;
    WritePage(ComposeTreePage(objectId_, layout_, prefix_, nodes_));
    nodes_.clear();
    used_ = 0;
}

void LongValueTreeWriter::Finish() {
    WriteLeaf();
    if (staleCopies_.empty()) {
        return;
    }
    // A parent page keeps its copies even when they are newer than the leaf's.
    layout_.pageFlags = kTreePageParent | kTreePageLongValue;
    layout_.databaseTime = ++time_;
    std::vector<TreeNode> fitting;
    int64_t used = 0;
    const std::vector<uint8_t> noPrefix;
    for (TreeNode& node : staleCopies_) {
        node.data.resize(std::min<size_t>(node.data.size(), 200));
        used += TreeNodeSize(node, 0);
        if (used > TreePageRoom(layout_, 0)) {
            break;
        }
        fitting.push_back(std::move(node));
    }
    WritePage(ComposeTreePage(objectId_, layout_, noPrefix, fitting));
    staleCopies_.clear();
}

void LongValueTreeWriter::WritePage(const std::vector<uint8_t>& bytes) {
    Page page(objectId_);
    page.PutBytes(0, bytes);
    pageNumbers_.push_back(sink_.AppendPage(page));
}

}  // namespace velmor::testdb
