#pragma once

#include <vector>

#include "browse/item_list.h"
#include "discovery/processing_context.h"
#include "items/item_records.h"

namespace velmor {

// The listers of the five item types other than mail: one numbered row per item, in chain
// order, of items with equal keys only the last; a stop ends the listing between two items.
void ListContacts(ProcessingContext& context, const std::vector<CContact>& items, ItemList& list);
void ListAppointments(ProcessingContext& context, const std::vector<CCalendar>& items,
                      ItemList& list);
void ListTasks(ProcessingContext& context, const std::vector<CTask>& items, ItemList& list);
void ListStickyNotes(ProcessingContext& context, const std::vector<CStickyNote>& items,
                     ItemList& list);
void ListJournalEntries(ProcessingContext& context, const std::vector<CJournal>& items,
                        ItemList& list);

}  // namespace velmor
