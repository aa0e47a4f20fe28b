#pragma once

#include <mutex>
#include <vector>

#include "wizard/shown_item_list.h"
#include "wizard/ui_call_bridge.h"

namespace velmor::ui {

// The item list as workers hold it. Rows gather while the user-interface thread is busy and are
// inserted there together, without the worker waiting; every other operation waits until the
// rows before it and itself have been applied. The first row of a listing waits too: a stop
// question that opens as the list starts to fill finds the worker at the row shown.
class MarshalledItemList : public ItemList {
public:
    MarshalledItemList(UiCallBridge& bridge, ShownItemList& target)
        : bridge_(bridge), target_(target) {}

    void DeleteAllRows() override;
    void SetColumns(const std::vector<ItemColumn>& columns) override;
    void InsertRow(int row, int image, const std::vector<std::u16string>& cells) override;
    void InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                         const ListedItem& item) override;
    void ListingStopped() override;
    void ListingNote(const std::u16string& note) override;

private:
    void Queue(ShownRow row);
    // User-interface thread.
    void InsertQueuedRows();

    UiCallBridge& bridge_;
    ShownItemList& target_;
    bool firstRowShown_ = false;  // worker side: since the last DeleteAllRows or SetColumns
    std::mutex queuedMutex_;
    std::vector<ShownRow> queued_;
};

}  // namespace velmor::ui
