#include "browse/plain_item_list.h"

#include <algorithm>

namespace velmor {

void PlainItemList::InsertRow(int row, int image, const std::vector<std::u16string>& cells) {
    InsertListedRow(row, image, cells, ListedItem{});
}

void PlainItemList::InsertListedRow(int row, int image, const std::vector<std::u16string>& cells,
                                    const ListedItem& item) {
    const auto at = std::clamp<size_t>(static_cast<size_t>(std::max(row, 0)), 0, rows_.size());
    rows_.insert(rows_.begin() + static_cast<std::ptrdiff_t>(at),
                 Row{image, cells, MailItemId(item), item.subject});
}

}  // namespace velmor
