#include "browse/kind_listers.h"

#include "browse/item_images.h"
#include "browse/last_of_equal_keys.h"
#include "browse/record_column_text.h"
#include "edb/text_codec.h"

namespace velmor {

namespace {

// The loop that the five listers share; cellsOf gives the columns after the row number and
// may add what it read to the listed item.
template <typename Record, typename KeyOf, typename CellsOf>
void ListItems(ProcessingContext& context, const std::vector<Record>& items, ItemList& list,
               int image, KeyOf keyOf, CellsOf cellsOf) {
    const std::vector<bool> listed = LastOfEqualKeys(items, keyOf);
    int row = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (context.stop.requested()) {
            return;
        }
        if (!listed[i]) {
            continue;
        }
        ListedItem listedItem;
        listedItem.item = &items[i];
        std::vector<std::u16string> cells = cellsOf(items[i], listedItem);
        cells.insert(cells.begin(), Utf8ToUtf16(std::to_string(row + 1)));
        list.InsertListedRow(row, image, cells, listedItem);
        ++row;
    }
}

std::u16string_view ItemIdOf(const CItem& item) {
    return item.itemId;
}

}  // namespace

void ListContacts(ProcessingContext& context, const std::vector<CContact>& items, ItemList& list) {
    ListItems(
        context, items, list, kContactImage,
        [](const CContact& c) { return std::u16string_view(c.contactId); },
        [](const CContact& c, ListedItem&) {
            return std::vector<std::u16string>{c.fullName,        c.firstName,     c.lastName,
                                               c.homePhone,       c.businessPhone, c.mobilePhone,
                                               c.businessAddress, c.emailAddress};
        });
}

void ListAppointments(ProcessingContext& context, const std::vector<CCalendar>& items,
                      ItemList& list) {
    const int32_t locationColumn = context.store.schema.column(MessageColumn::S810c);
    ListItems(
        context, items, list, kAppointmentImage, ItemIdOf,
        [&](const CCalendar& c, ListedItem& listed) {
            listed.location = ReadRecordColumnText(context, c.itemId, locationColumn);
            return std::vector<std::u16string>{c.appointmentSubject, listed.location, c.dateCopy};
        });
}

void ListTasks(ProcessingContext& context, const std::vector<CTask>& items, ItemList& list) {
    ListItems(context, items, list, kTaskImage, ItemIdOf, [](const CTask& t, ListedItem&) {
        return std::vector<std::u16string>{t.subject, t.dateText};
    });
}

void ListStickyNotes(ProcessingContext& context, const std::vector<CStickyNote>& items,
                     ItemList& list) {
    ListItems(context, items, list, kStickyNoteImage, ItemIdOf,
              [](const CStickyNote& n, ListedItem&) {
                  return std::vector<std::u16string>{n.subject, n.dateText};
              });
}

void ListJournalEntries(ProcessingContext& context, const std::vector<CJournal>& items,
                        ItemList& list) {
    const int32_t entryTypeColumn = context.store.schema.column(MessageColumn::S8295);
    ListItems(context, items, list, kJournalImage, ItemIdOf,
              [&](const CJournal& j, ListedItem& listed) {
                  listed.entryType = ReadRecordColumnText(context, j.itemId, entryTypeColumn);
                  return std::vector<std::u16string>{j.subject, listed.entryType, j.dateText};
              });
}

}  // namespace velmor
