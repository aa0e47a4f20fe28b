#pragma once

#include "browse/plain_item_list.h"
#include "wizard/shown_item_list.h"

namespace velmor::test {

// The item list of the tests: the rows in memory, and how they came, row by row or in runs.
class RecordedItemList : public ui::ShownItemList {
public:
    void DeleteAllRows() override { plain_.DeleteAllRows(); }
    void SetColumns(const std::vector<ItemColumn>& columns) override { plain_.SetColumns(columns); }
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override {
        plain_.InsertRow(row, image, cells);
    }
    void InsertShownRows(std::vector<ui::ShownRow>& rows) override {
        runs.push_back(rows.size());
        for (const ui::ShownRow& shown : rows) {
            plain_.InsertRow(shown.row, shown.image, shown.cells);
            itemIds.push_back(shown.itemId);
        }
    }
    void ListingStopped() override { stoppedAfter.push_back(plain_.rows().size()); }

    const std::vector<PlainItemList::Row>& rows() const { return plain_.rows(); }

    std::vector<size_t> runs;             // the size of each run inserted
    std::vector<std::u16string> itemIds;  // of the rows inserted in runs, in order
    std::vector<size_t> stoppedAfter;     // the row count at each stop

private:
    PlainItemList plain_;
};

}  // namespace velmor::test
