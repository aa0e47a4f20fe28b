#pragma once

#include <cstdint>
#include <vector>

#include "export/pst/heap_on_node.h"

namespace velmor::pst {

// Stores records (key then data, in key order) as a B-tree on the heap: leaf allocations,
// then index allocations of first keys and heap ids until one remains. The heap id of the
// tree's header.
uint32_t BuildBTreeOnHeap(HeapOnNode& heap, uint8_t keySize, uint8_t dataSize,
                          const std::vector<Bytes>& records);

}  // namespace velmor::pst
