#pragma once

#include <string>
#include <vector>

#include "browse/listed_item.h"

namespace velmor {

struct ItemColumn {
    std::u16string heading;
    int width;  // pixels
};

// The item list of the browse pane as the browsing engine drives it: a report list whose rows
// carry an image index and one text per column. Workers call it from their own threads; a
// front end whose control lives on another thread applies each call there before returning.
class ItemList {
public:
    virtual ~ItemList() = default;

    virtual void DeleteAllRows() = 0;
    // Replaces every column (left-aligned) and redraws the whole list.
    virtual void SetColumns(const std::vector<ItemColumn>& columns) = 0;
    // Inserts a row at index row; cells[0] is the row number.
    virtual void InsertRow(int row, int image, const std::vector<std::u16string>& cells) = 0;
    // Inserts a row as InsertRow does; the listers call it with the record behind the row, which
    // lives until the call returns. Lists that only show rows keep this default.
    virtual void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                                 const ListedItem& item) {
        (void)item;
        InsertRow(row, image, cells);
    }
    // A stop ended the listing: the rows are only a part of the folder. The next listing's
    // DeleteAllRows or SetColumns forgets it.
    virtual void ListingStopped() {}
    // A note on the listing as a whole (a search that matched nothing). The next listing's
    // DeleteAllRows or SetColumns forgets it.
    virtual void ListingNote(const std::u16string& note) { (void)note; }
};

}  // namespace velmor
