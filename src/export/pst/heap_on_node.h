#pragma once

#include <cstdint>
#include <vector>

#include "export/pst/pst_bytes.h"

namespace velmor::pst {

// A heap-on-node being built: allocations of up to kMaxHeapAllocation bytes packed into
// blocks, each block ending with its page map; the first block's header names the client
// (properties, table or B-tree) and its root allocation.
class HeapOnNode {
public:
    explicit HeapOnNode(uint8_t clientSignature);

    // Stores bytes (at most kMaxHeapAllocation of them); their heap id, or 0 when the heap
    // has no room left (heap ids name at most kMaxHeapBlocks blocks).
    uint32_t Allocate(const Bytes& bytes);
    // Overwrites the bytes of an earlier allocation with as many new ones: headers are
    // allocated first, as readers expect them, and filled in when the rest is known.
    void Replace(uint32_t hid, const Bytes& bytes);
    bool full() const { return full_; }
    void SetUserRoot(uint32_t hid) { userRoot_ = hid; }
    // The node's data blocks.
    std::vector<Bytes> Blocks() const;

private:
    struct Block {
        Bytes data;                    // header and allocations
        std::vector<uint16_t> starts;  // where each allocation begins
    };

    void StartBlock();

    uint8_t client_;
    uint32_t userRoot_ = 0;
    bool full_ = false;
    std::vector<Block> blocks_;
};

}  // namespace velmor::pst
