#pragma once

#include "browse/item_list.h"
#include "wizard/ui_call_bridge.h"

namespace velmor::ui {

// The item list as workers hold it: each operation runs on the user-interface thread, on the
// list, and returns once it has been applied.
class MarshalledItemList : public ItemList {
public:
    MarshalledItemList(UiCallBridge& bridge, ItemList& target) : bridge_(bridge), target_(target) {}

    void DeleteAllRows() override {
        bridge_.Call([&] { target_.DeleteAllRows(); });
    }
    void SetColumns(const std::vector<ItemColumn>& columns) override {
        bridge_.Call([&] { target_.SetColumns(columns); });
    }
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override {
        bridge_.Call([&] { target_.InsertRow(row, image, cells); });
    }
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override {
        bridge_.Call([&] { target_.InsertListedRow(row, image, cells, item); });
    }
    void ListingStopped() override {
        bridge_.Call([&] { target_.ListingStopped(); });
    }

private:
    UiCallBridge& bridge_;
    ItemList& target_;
};

}  // namespace velmor::ui
