#pragma once

#include <string>
#include <vector>

#include "browse/item_list.h"

namespace velmor::ui {

// A row as a worker listed it, kept until the user-interface thread shows it: the record behind
// the row is gone by then, only its item id stays.
struct ShownRow {
    int row;
    int image;
    std::vector<std::u16string> cells;
    std::u16string itemId;  // mail rows only
};

// The item list of the window, which also takes the rows a worker listed meanwhile all at once.
class ShownItemList : public ItemList {
public:
    // Inserts the rows in their order, each as InsertListedRow would.
    virtual void InsertShownRows(std::vector<ShownRow>& rows) = 0;
};

}  // namespace velmor::ui
