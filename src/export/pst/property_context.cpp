#include "export/pst/property_context.h"

#include "export/pst/btree_on_heap.h"
#include "export/pst/heap_values.h"
#include "export/pst/pst_layout.h"

namespace velmor::pst {

namespace {

constexpr uint8_t kPropertyKeySize = 2;
constexpr uint8_t kPropertyDataSize = 6;
constexpr size_t kInPlaceSize = 4;

}  // namespace

NodeContent BuildPropertyContext(const PropertyList& properties) {
    HeapValues values(kHeapClientProperties);
    HeapOnNode& heap = values.heap();
    const uint32_t header = ReserveBTreeHeader(heap);
    heap.SetUserRoot(header);
    std::vector<Bytes> records;
    for (const auto& [id, value] : properties.values()) {
        const size_t fixed = FixedSize(value.type);
        uint32_t cell = 0;
        if (fixed != 0 && fixed <= kInPlaceSize) {
            for (size_t i = 0; i < fixed; ++i) {
                cell |= static_cast<uint32_t>(value.bytes[i]) << (8 * i);
            }
        } else {
            cell = values.Store(value.bytes);
        }
        Bytes record;
        Put16(record, id);
        Put16(record, value.type);
        Put32(record, cell);
        records.push_back(std::move(record));
    }
    BuildBTreeOnHeap(heap, header, kPropertyKeySize, kPropertyDataSize, records);
    return values.Content();
}

}  // namespace velmor::pst
