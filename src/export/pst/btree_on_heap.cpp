#include "export/pst/btree_on_heap.h"

#include <algorithm>

#include "export/pst/pst_layout.h"

namespace velmor::pst {

namespace {

constexpr size_t kBTreeHeaderSize = 8;

}  // namespace

uint32_t ReserveBTreeHeader(HeapOnNode& heap) {
    return heap.Allocate(Bytes(kBTreeHeaderSize, 0));
}

void BuildBTreeOnHeap(HeapOnNode& heap, uint32_t headerHid, uint8_t keySize, uint8_t dataSize,
                      const std::vector<Bytes>& records) {
    uint32_t root = 0;
    uint8_t indexLevels = 0;
    if (!records.empty()) {
        std::vector<Bytes> level = records;
        size_t recordSize = static_cast<size_t>(keySize) + dataSize;
        while (true) {
            const size_t perAllocation = kMaxHeapAllocation / recordSize;
            std::vector<Bytes> upper;
            for (size_t first = 0; first < level.size(); first += perAllocation) {
                const size_t end = std::min(level.size(), first + perAllocation);
                Bytes allocation;
                for (size_t i = first; i < end; ++i) {
                    PutBytes(allocation, level[i]);
                }
                Bytes index(level[first].begin(), level[first].begin() + keySize);
                Put32(index, heap.Allocate(allocation));
                upper.push_back(std::move(index));
            }
            if (upper.size() == 1) {
                root = static_cast<uint32_t>(upper.front()[keySize]) |
                       static_cast<uint32_t>(upper.front()[keySize + 1]) << 8 |
                       static_cast<uint32_t>(upper.front()[keySize + 2]) << 16 |
                       static_cast<uint32_t>(upper.front()[keySize + 3]) << 24;
                break;
            }
            level = std::move(upper);
            recordSize = keySize + kBTreeHidSize;
            ++indexLevels;
        }
    }
    Bytes header;
    Put8(header, kHeapClientBTree);
    Put8(header, keySize);
    Put8(header, dataSize);
    Put8(header, indexLevels);
    Put32(header, root);
    heap.Replace(headerHid, header);
}

}  // namespace velmor::pst
