#include "wizard/marshalled_item_list.h"

namespace velmor::ui {

// Calls wait on the bridge, which runs them after every insertion posted before.
void MarshalledItemList::DeleteAllRows() {
    firstRowShown_ = false;
    bridge_.Call([&] { target_.DeleteAllRows(); });
}

void MarshalledItemList::SetColumns(const std::vector<ItemColumn>& columns) {
    firstRowShown_ = false;
    bridge_.Call([&] { target_.SetColumns(columns); });
}

void MarshalledItemList::InsertRow(int row, int image, const std::vector<std::u16string>& cells) {
    Queue({row, image, cells, {}});
}

void MarshalledItemList::InsertListedRow(int row, int image,
                                         const std::vector<std::u16string>& cells,
                                         const ListedItem& item) {
    Queue({row, image, cells, MailItemId(item)});
}

void MarshalledItemList::ListingStopped() {
    bridge_.Call([&] { target_.ListingStopped(); });
}

void MarshalledItemList::ListingNote(const std::u16string& note) {
    bridge_.Call([&] { target_.ListingNote(note); });
}

// The first row of a batch posts its insertion; the rows after it join until it runs.
void MarshalledItemList::Queue(ShownRow row) {
    if (!firstRowShown_) {
        firstRowShown_ = true;
        std::vector<ShownRow> first{std::move(row)};
        bridge_.Call([&] { target_.InsertShownRows(first); });
        return;
    }
    bool firstOfBatch;
    {
        std::lock_guard lock(queuedMutex_);
        firstOfBatch = queued_.empty();
        queued_.push_back(std::move(row));
    }
    if (firstOfBatch) {
        bridge_.Post([this] { InsertQueuedRows(); });
    }
}

void MarshalledItemList::InsertQueuedRows() {
    std::vector<ShownRow> rows;
    {
        std::lock_guard lock(queuedMutex_);
        rows.swap(queued_);
    }
    if (!rows.empty()) {
        target_.InsertShownRows(rows);
    }
}

}  // namespace velmor::ui
