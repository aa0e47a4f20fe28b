#include "export/pst/table_context.h"

#include <algorithm>

#include "export/pst/btree_on_heap.h"
#include "export/pst/pst_layout.h"

namespace velmor::pst {

namespace {

constexpr uint32_t kRowIdTag = PropertyTag(0x67F2, kTypeInt32);
constexpr uint32_t kRowVersionTag = PropertyTag(0x67F3, kTypeInt32);
constexpr size_t kCellReferenceSize = 4;
constexpr uint8_t kRowIndexKeySize = 4;
constexpr uint8_t kRowIndexDataSize = 4;
constexpr size_t kTableInfoFixedSize = 22;
constexpr size_t kColumnDescriptionSize = 8;

size_t CellSize(uint32_t tag) {
    const size_t fixed = FixedSize(TagType(tag));
    return fixed != 0 ? fixed : kCellReferenceSize;
}

}  // namespace

// Rows begin with the row id and the row version, then the 8- and 4-byte cells, the 2-byte
// and 1-byte cells, and end with the bitmap of the cells that exist.
TableContext::TableContext(const std::vector<uint32_t>& tags) : values_(kHeapClientTable) {
    columns_.push_back({kRowIdTag, 0, 4, 0});
    columns_.push_back({kRowVersionTag, 4, 4, 1});
    std::vector<uint32_t> others = tags;
    std::stable_sort(others.begin(), others.end(),
                     [](uint32_t a, uint32_t b) { return CellSize(a) > CellSize(b); });
    size_t offset = 8;
    uint8_t bit = 2;
    for (const size_t size : {size_t{8}, size_t{4}, size_t{2}, size_t{1}}) {
        for (uint32_t tag : others) {
            if (CellSize(tag) == size) {
                columns_.push_back(
                    {tag, static_cast<uint16_t>(offset), static_cast<uint8_t>(size), bit++});
                offset += size;
            }
        }
        if (size != 8) {
            groupEnds_.push_back(static_cast<uint16_t>(offset));
        }
    }
    rowSize_ = offset + (columns_.size() + 7) / 8;
    groupEnds_.push_back(static_cast<uint16_t>(rowSize_));
    std::sort(columns_.begin(), columns_.end(),
              [](const Column& a, const Column& b) { return a.tag < b.tag; });
    // Readers look for the row index's header at the heap's first allocation and the
    // table's header right after it.
    HeapOnNode& heap = values_.heap();
    rowIndex_ = ReserveBTreeHeader(heap);
    tableInfo_ =
        heap.Allocate(Bytes(kTableInfoFixedSize + kColumnDescriptionSize * columns_.size(), 0));
    heap.SetUserRoot(tableInfo_);
}

// Rows never span blocks: every block but the last holds as many whole rows as fit, then
// zeros up to the block's full size, so that a reader finds row N in block N / rows per block.
Bytes TableContext::BlockedMatrix() const {
    const size_t rowsPerBlock = kMaxBlockData / rowSize_;
    const size_t blockRows = rowsPerBlock * rowSize_;
    Bytes blocked;
    blocked.reserve(matrix_.size() / blockRows * kMaxBlockData + matrix_.size() % blockRows);
    for (size_t first = 0; first < matrix_.size(); first += blockRows) {
        const size_t end = std::min(matrix_.size(), first + blockRows);
        blocked.insert(blocked.end(), matrix_.begin() + static_cast<ptrdiff_t>(first),
                       matrix_.begin() + static_cast<ptrdiff_t>(end));
        if (end < matrix_.size()) {
            blocked.resize(blocked.size() + kMaxBlockData - blockRows, 0);
        }
    }
    return blocked;
}

void TableContext::AddRow(uint32_t rowId, const PropertyList& values) {
    const size_t start = matrix_.size();
    matrix_.resize(start + rowSize_, 0);
    uint8_t* row = matrix_.data() + start;
    const size_t bitmap = groupEnds_[2];
    for (const Column& column : columns_) {
        Bytes cell;
        if (column.tag == kRowIdTag) {
            Put32(cell, rowId);
        } else if (column.tag == kRowVersionTag) {
            Put32(cell, 0);
        } else if (const PropertyValue* value = values.Find(column.tag)) {
            if (FixedSize(value->type) != 0) {
                cell = value->bytes;
            } else {
                Put32(cell, values_.Store(value->bytes));
            }
        } else {
            continue;
        }
        std::copy(cell.begin(), cell.end(), row + column.offset);
        row[bitmap + column.bit / 8] |= static_cast<uint8_t>(0x80 >> (column.bit % 8));
    }
    rowIds_.push_back(rowId);
}

NodeContent TableContext::Build() {
    HeapOnNode& heap = values_.heap();
    std::vector<std::pair<uint32_t, uint32_t>> index;
    for (uint32_t i = 0; i < rowIds_.size(); ++i) {
        index.emplace_back(rowIds_[i], i);
    }
    std::sort(index.begin(), index.end());
    std::vector<Bytes> records;
    for (const auto& [rowId, position] : index) {
        Bytes record;
        Put32(record, rowId);
        Put32(record, position);
        records.push_back(std::move(record));
    }
    BuildBTreeOnHeap(heap, rowIndex_, kRowIndexKeySize, kRowIndexDataSize, records);

    // A matrix larger than a heap allocation goes to a subnode, in blocks of whole rows.
    uint32_t rows = 0;
    if (!matrix_.empty()) {
        rows = matrix_.size() <= kMaxHeapAllocation
                   ? heap.Allocate(matrix_)
                   : values_.StoreInSubnode(BlockedMatrix(), kMaxBlockData);
    }
    Bytes info;
    Put8(info, kHeapClientTable);
    Put8(info, static_cast<uint8_t>(columns_.size()));
    for (uint16_t end : groupEnds_) {
        Put16(info, end);
    }
    Put32(info, rowIndex_);
    Put32(info, rows);
    Put32(info, 0);
    for (const Column& column : columns_) {
        Put32(info, column.tag);
        Put16(info, column.offset);
        Put8(info, column.size);
        Put8(info, column.bit);
    }
    heap.Replace(tableInfo_, info);
    matrix_.clear();
    matrix_.shrink_to_fit();
    return values_.Content();
}

}  // namespace velmor::pst
