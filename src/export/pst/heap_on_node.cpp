#include "export/pst/heap_on_node.h"

#include <algorithm>
#include <array>

#include "export/pst/pst_layout.h"

namespace velmor::pst {

namespace {

constexpr size_t kHeapHeaderFillAt = 8;
constexpr size_t kHeapBitmapFillAt = 2;
constexpr size_t kPageMapFixedSize = 4;

size_t BlockHeaderSize(size_t index) {
    if (index == 0) {
        return kHeapHeaderSize;
    }
    return index % kHeapBitmapInterval == kHeapBitmapFirstBlock ? kHeapBitmapHeaderSize
                                                                : kHeapPageHeaderSize;
}

size_t PageMapSize(size_t allocations) {
    return kPageMapFixedSize + 2 * (allocations + 1);
}

// How full a block is, in the sixteen steps of its free space.
uint8_t FillLevel(size_t freeBytes) {
    static constexpr std::array<size_t, 15> kAtLeast = {
        3584, 2560, 2048, 1792, 1536, 1280, 1024, 768, 512, 256, 128, 64, 32, 16, 8};
    for (size_t level = 0; level < kAtLeast.size(); ++level) {
        if (freeBytes >= kAtLeast[level]) {
            return static_cast<uint8_t>(level);
        }
    }
    return static_cast<uint8_t>(kAtLeast.size());
}

void SetFillLevel(Bytes& block, size_t at, size_t position, uint8_t level) {
    uint8_t& byte = block[at + position / 2];
    byte |= position % 2 == 0 ? level : static_cast<uint8_t>(level << 4);
}

}  // namespace

HeapOnNode::HeapOnNode(uint8_t clientSignature) : client_(clientSignature) {
    StartBlock();
}

void HeapOnNode::StartBlock() {
    blocks_.push_back({Bytes(BlockHeaderSize(blocks_.size()), 0), {}});
}

uint32_t HeapOnNode::Allocate(const Bytes& bytes) {
    Block* block = &blocks_.back();
    const size_t count = block->starts.size() + 1;
    if (block->data.size() + bytes.size() + 1 + PageMapSize(count) > kMaxBlockData ||
        count > kMaxHeapAllocationsPerBlock) {
        if (blocks_.size() == kMaxHeapBlocks) {
            full_ = true;
            return 0;
        }
        StartBlock();
        block = &blocks_.back();
    }
    block->starts.push_back(static_cast<uint16_t>(block->data.size()));
    PutBytes(block->data, bytes);
    const uint32_t blockIndex = static_cast<uint32_t>(blocks_.size() - 1);
    const uint32_t allocationIndex = static_cast<uint32_t>(block->starts.size());
    return (blockIndex << kHidBlockShift) | (allocationIndex << kHidIndexShift);
}

void HeapOnNode::Replace(uint32_t hid, const Bytes& bytes) {
    Block& block = blocks_.at(hid >> kHidBlockShift);
    const size_t index = ((hid & ((1u << kHidBlockShift) - 1)) >> kHidIndexShift) - 1;
    std::copy(bytes.begin(), bytes.end(), block.data.begin() + block.starts.at(index));
}

std::vector<Bytes> HeapOnNode::Blocks() const {
    std::vector<Bytes> result;
    std::vector<uint8_t> fillLevels;
    for (const Block& block : blocks_) {
        Bytes data = block.data;
        const uint16_t end = static_cast<uint16_t>(data.size());
        if (data.size() % 2 != 0) {
            data.push_back(0);
        }
        const uint16_t pageMap = static_cast<uint16_t>(data.size());
        Put16(data, static_cast<uint16_t>(block.starts.size()));
        Put16(data, 0);
        for (uint16_t start : block.starts) {
            Put16(data, start);
        }
        Put16(data, end);
        Set16(data, 0, pageMap);
        fillLevels.push_back(FillLevel(kMaxBlockData - data.size()));
        result.push_back(std::move(data));
    }
    Bytes& first = result.front();
    first[2] = kHeapSignature;
    first[3] = client_;
    Set32(first, 4, userRoot_);
    for (size_t i = 0; i < result.size(); ++i) {
        if (i < kHeapHeaderFillLevels) {
            SetFillLevel(first, kHeapHeaderFillAt, i, fillLevels[i]);
        } else {
            const size_t bitmapBlock =
                (i - kHeapBitmapFirstBlock) / kHeapBitmapInterval * kHeapBitmapInterval +
                kHeapBitmapFirstBlock;
            SetFillLevel(result[bitmapBlock], kHeapBitmapFillAt, i - bitmapBlock, fillLevels[i]);
        }
    }
    return result;
}

}  // namespace velmor::pst
