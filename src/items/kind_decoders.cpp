#include "items/kind_decoders.h"

#include "edb/stored_value.h"
#include "edb/tagged_directory.h"
#include "items/folder_record_walk.h"
#include "items/item_record_columns.h"
#include "items/record_time.h"

namespace velmor {

namespace {

constexpr int kMaxKindRecordEntries = 80;
constexpr uint16_t kSecondaryTextColumn = 481;

// How far into the page a value may reach, per kind.
constexpr int64_t kAppointmentValueEnd = 4096;
constexpr int64_t kTaskValueEnd = 4090;
constexpr int64_t kStickyNoteValueEnd = 4006;
constexpr int64_t kJournalValueEnd = 4096;

// Walks up to 80 directory entries from the directory start and hands each plausible value
// (column, position, length) to take; ends at a stop, an implausible entry or the page end.
template <typename Take>
void WalkKindDirectory(const PageView& page, int64_t& position, int64_t valueEnd, StopFlag& stop,
                       Take&& take) {
    const int64_t directory = position + kRecordStartToDirectory;
    position = directory;
    for (int k = 0; k < kMaxKindRecordEntries; ++k) {
        if (stop.requested()) {
            return;
        }
        const auto entry = ReadTaggedEntry(page, position, 0);
        if (!entry) {
            return;
        }
        if (entry->offset != 0 && entry->nextOffset != 0) {
            const int64_t length = ReduceOffset(entry->nextOffset) - ReduceOffset(entry->offset);
            const int64_t s = directory + ReduceOffset(entry->offset) + 1;
            if (length < 1 || length > kLongestValue || s > kLastValueStart ||
                s + length > valueEnd) {
                return;
            }
            take(entry->column, s, length - 1);
        }
        position += kTaggedEntrySize;
    }
}

// The date and subject decoding shared by tasks, sticky notes and journal entries.
template <typename Record>
void DecodeDatedSubject(const PageView& page, int64_t& position, Record& record, int64_t valueEnd,
                        StopFlag& stop) {
    if (stop.requested()) {
        return;
    }
    record.dateCopy = ReadRecordTime(page, position, record);
    WalkKindDirectory(page, position, valueEnd, stop, [&](uint16_t col, int64_t s, int64_t n) {
        if (col == kItemSubjectColumn) {
            record.subject = DecodeStoredString(page, s, n);
        }
    });
}

}  // namespace

void DecodeAppointment(const PageView& page, int64_t& position, CCalendar& record, StopFlag& stop) {
    if (stop.requested()) {
        return;
    }
    record.dateCopy = ReadRecordTime(page, position, record);
    WalkKindDirectory(page, position, kAppointmentValueEnd, stop,
                      [&](uint16_t col, int64_t s, int64_t n) {
                          if (col == kItemSubjectColumn) {
                              record.appointmentSubject = DecodeStoredString(page, s, n);
                          } else if (col == kSecondaryTextColumn) {
                              record.secondaryText = DecodeStoredString(page, s, n);
                          }
                      });
}

void DecodeTask(const PageView& page, int64_t& position, CTask& record, StopFlag& stop) {
    DecodeDatedSubject(page, position, record, kTaskValueEnd, stop);
}

void DecodeStickyNote(const PageView& page, int64_t& position, CStickyNote& record,
                      StopFlag& stop) {
    DecodeDatedSubject(page, position, record, kStickyNoteValueEnd, stop);
}

void DecodeJournalEntry(const PageView& page, int64_t& position, CJournal& record, StopFlag& stop) {
    DecodeDatedSubject(page, position, record, kJournalValueEnd, stop);
}

}  // namespace velmor
