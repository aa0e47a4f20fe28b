#pragma once

#include <cstdint>
#include <vector>

#include "export/pst/heap_on_node.h"

namespace velmor::pst {

// Allocates room for a B-tree's header before anything else of the tree, as readers expect
// it ahead of the records; its heap id.
uint32_t ReserveBTreeHeader(HeapOnNode& heap);

// Stores records (key then data, in key order) as a B-tree on the heap: leaf allocations,
// then index allocations of first keys and heap ids until one remains, and fills the header
// reserved at headerHid.
void BuildBTreeOnHeap(HeapOnNode& heap, uint32_t headerHid, uint8_t keySize, uint8_t dataSize,
                      const std::vector<Bytes>& records);

}  // namespace velmor::pst
