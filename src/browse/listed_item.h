#pragma once

#include <string>
#include <vector>

#include "items/item_records.h"

namespace velmor {

// The record behind a listed row, for readers that need more than the shown texts (the
// export): the item as scanned plus the texts the lister read for it. Texts are kept as
// stored; the row's cells may have changed them for display.
struct ListedItem {
    const CItem* item = nullptr;  // the scanned record: CMailItem, CContact, CCalendar...
    std::u16string subject;       // mail: prefix and subject (or its fallback), tabs kept
    std::u16string sender;        // mail: the shown sender text; empty for sent items
    std::vector<std::u16string> recipients;  // mail: the recipient names
    bool marker = false;                     // mail: the record carries a marker value
    std::u16string location;                 // appointment
    std::u16string entryType;                // journal entry
};

// The item id of a mail row, by which its content is read later; empty for other rows.
inline std::u16string MailItemId(const ListedItem& listed) {
    const auto* mail = dynamic_cast<const CMailItem*>(listed.item);
    return mail ? mail->itemId : std::u16string();
}

}  // namespace velmor
