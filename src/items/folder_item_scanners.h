#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "discovery/processing_context.h"
#include "items/item_records.h"

namespace velmor {

// The six folder item scanners. Each walks the pages of a folder's own message table, keeps
// the records whose folder id text equals folderId and appends one record of its kind per
// record found to items (empty on entry), in page and position order. True when the scan ran
// to its end; false when the table has no pages or a stop was seen (what was found stays).
bool ScanMailItems(ProcessingContext& context, int32_t tableObjectId, std::vector<CMailItem>& items,
                   const std::u16string& folderId);
bool ScanContacts(ProcessingContext& context, int32_t tableObjectId, std::vector<CContact>& items,
                  const std::u16string& folderId);
bool ScanAppointments(ProcessingContext& context, int32_t tableObjectId,
                      std::vector<CCalendar>& items, const std::u16string& folderId);
bool ScanTasks(ProcessingContext& context, int32_t tableObjectId, std::vector<CTask>& items,
               const std::u16string& folderId);
bool ScanStickyNotes(ProcessingContext& context, int32_t tableObjectId,
                     std::vector<CStickyNote>& items, const std::u16string& folderId);
bool ScanJournalEntries(ProcessingContext& context, int32_t tableObjectId,
                        std::vector<CJournal>& items, const std::u16string& folderId);

}  // namespace velmor
