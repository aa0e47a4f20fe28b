#pragma once

#include <cstdint>

#include "discovery/stop_flag.h"
#include "edb/page_view.h"
#include "items/item_records.h"

namespace velmor {

// The page decoders of the appointment, task, sticky-note and journal scanners. Each starts at
// the record start R, fills the date (and its copy) and the subject, and leaves position after
// the directory entries it walked.
void DecodeAppointment(const PageView& page, int64_t& position, CCalendar& record, StopFlag& stop);
void DecodeTask(const PageView& page, int64_t& position, CTask& record, StopFlag& stop);
void DecodeStickyNote(const PageView& page, int64_t& position, CStickyNote& record, StopFlag& stop);
void DecodeJournalEntry(const PageView& page, int64_t& position, CJournal& record, StopFlag& stop);

}  // namespace velmor
