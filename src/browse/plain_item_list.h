#pragma once

#include "browse/item_list.h"

namespace velmor {

// The engine's own item list, kept in memory, for the command line and the tests.
class PlainItemList : public ItemList {
public:
    struct Row {
        int image = 0;
        std::vector<std::u16string> cells;
        std::u16string itemId;   // mail rows only
        std::u16string subject;  // mail rows: prefix and subject as stored, tabs kept
    };

    void DeleteAllRows() override { rows_.clear(); }
    void SetColumns(const std::vector<ItemColumn>& columns) override { columns_ = columns; }
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override;
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override;

    const std::vector<ItemColumn>& columns() const { return columns_; }
    const std::vector<Row>& rows() const { return rows_; }

private:
    std::vector<ItemColumn> columns_;
    std::vector<Row> rows_;
};

}  // namespace velmor
