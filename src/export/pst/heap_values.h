#pragma once

#include <cstdint>

#include "export/pst/heap_on_node.h"
#include "export/pst/node_database.h"

namespace velmor::pst {

// Where a property context or table puts the values that do not fit in their cells: in the
// heap up to kMaxHeapAllocation bytes, in a subnode of the node beyond.
class HeapValues {
public:
    explicit HeapValues(uint8_t clientSignature) : heap_(clientSignature) {}

    // The heap id or subnode id of the stored bytes.
    uint32_t Store(const Bytes& bytes);
    // Bytes of any size in a new subnode; its id.
    uint32_t StoreInSubnode(const Bytes& bytes, size_t blockSize);

    HeapOnNode& heap() { return heap_; }
    NodeContent Content() const { return {heap_.Blocks(), subnodes_}; }

private:
    HeapOnNode heap_;
    std::vector<NodeContent::Subnode> subnodes_;
    uint32_t nextSubnodeIndex_ = 1;
};

}  // namespace velmor::pst
