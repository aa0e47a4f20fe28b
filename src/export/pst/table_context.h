#pragma once

#include <cstdint>
#include <vector>

#include "export/pst/heap_values.h"
#include "export/pst/property_list.h"

namespace velmor::pst {

// A table context being built: fixed columns, rows added one at a time with their values
// laid out as they come (variable-size values go to the heap at once), and at the end the
// row index and the row matrix. The row index's header and the table's header are the heap's
// first allocations, as readers expect them, and are filled in at the end.
class TableContext {
public:
    // The table's columns besides the row id and row version every table has.
    explicit TableContext(const std::vector<uint32_t>& tags);

    // Adds a row; values of columns the table has are stored, others ignored.
    void AddRow(uint32_t rowId, const PropertyList& values);
    size_t rows() const { return rowIds_.size(); }
    // Whether the table's heap ran out of room: the table must take no more rows.
    bool full() { return values_.heap().full(); }
    NodeContent Build();

private:
    struct Column {
        uint32_t tag;
        uint16_t offset;
        uint8_t size;
        uint8_t bit;
    };

    Bytes BlockedMatrix() const;

    std::vector<Column> columns_;
    std::vector<uint16_t> groupEnds_;  // ends of the 8/4-, 2- and 1-byte groups and the bitmap
    size_t rowSize_ = 0;
    Bytes matrix_;
    std::vector<uint32_t> rowIds_;
    HeapValues values_;
    uint32_t rowIndex_ = 0;  // heap ids of the row index's header and the table's header
    uint32_t tableInfo_ = 0;
};

}  // namespace velmor::pst
