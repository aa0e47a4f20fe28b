#include "export/pst/heap_values.h"

#include <algorithm>

#include "export/pst/pst_layout.h"

namespace velmor::pst {

uint32_t HeapValues::Store(const Bytes& bytes) {
    if (bytes.size() <= kMaxHeapAllocation) {
        return heap_.Allocate(bytes);
    }
    return StoreInSubnode(bytes, kMaxBlockData);
}

uint32_t HeapValues::StoreInSubnode(const Bytes& bytes, size_t blockSize) {
    NodeContent::Subnode subnode;
    subnode.nid = MakeNid(kNidTypeLtp, nextSubnodeIndex_++);
    for (size_t first = 0; first < bytes.size(); first += blockSize) {
        const size_t end = std::min(bytes.size(), first + blockSize);
        subnode.content.blocks.emplace_back(bytes.begin() + static_cast<ptrdiff_t>(first),
                                            bytes.begin() + static_cast<ptrdiff_t>(end));
    }
    subnodes_.push_back(std::move(subnode));
    return subnodes_.back().nid;
}

}  // namespace velmor::pst
