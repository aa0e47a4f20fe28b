#include "items/folder_item_scanners.h"

#include "discovery/processing_driver.h"
#include "edb/stored_value.h"
#include "items/contact_decoder.h"
#include "items/folder_record_walk.h"
#include "items/kind_decoders.h"
#include "items/mail_decoder.h"

namespace velmor {

namespace {

// Mail pages cover the first 60% of the item progress bar (the mail lister does the rest);
// the other kinds' pages cover all of it, and their scans stop short of the page end.
constexpr FolderWalkShape kMailWalk{3995, 60, true};
constexpr FolderWalkShape kKindWalk{3745, 100, false};

std::u16string ItemIdAt(const PageView& page, int64_t p) {
    return HexKey(page, p + kItemIdField, kItemIdLength);
}

// Walks the folder for one of the four kinds decoded from the folder's own page.
template <typename Record, typename Decode>
bool ScanPageDecodedKind(ProcessingContext& context, int32_t tableObjectId,
                         std::vector<Record>& items, const std::u16string& folderId,
                         Decode decode) {
    return WalkFolderRecords(context, tableObjectId, folderId, kKindWalk,
                             [&](const PageView& page, int64_t p, int64_t& position) {
                                 Record& record = items.emplace_back();
                                 record.itemId = ItemIdAt(page, p);
                                 position = p + kItemRecordStart;
                                 decode(page, position, record, context.stop);
                                 return true;
                             });
}

}  // namespace

bool ScanMailItems(ProcessingContext& context, int32_t tableObjectId, std::vector<CMailItem>& items,
                   const std::u16string& folderId) {
    ShowBusyButtons(context.sink);
    context.sink.SetItemStatus(kScanningForItemsStatus);
    context.sink.ShowItemProgress();
    return WalkFolderRecords(context, tableObjectId, folderId, kMailWalk,
                             [&](const PageView& page, int64_t p, int64_t& position) {
                                 CMailItem& mail = items.emplace_back();
                                 mail.folderId = folderId;
                                 mail.itemId = ItemIdAt(page, p);
                                 position = p + kItemRecordStart;
                                 DecodeMailRecord(page, position, mail, context.store.schema);
                                 return !context.stop.requested();
                             });
}

bool ScanContacts(ProcessingContext& context, int32_t tableObjectId, std::vector<CContact>& items,
                  const std::u16string& folderId) {
    return WalkFolderRecords(context, tableObjectId, folderId, kKindWalk,
                             [&](const PageView& page, int64_t p, int64_t& position) {
                                 CContact& contact = items.emplace_back();
                                 contact.folderId = folderId;
                                 contact.contactId = ItemIdAt(page, p);
                                 position = p + kItemRecordStart;
                                 DecodeContact(context, position, contact);
                                 return true;
                             });
}

bool ScanAppointments(ProcessingContext& context, int32_t tableObjectId,
                      std::vector<CCalendar>& items, const std::u16string& folderId) {
    return ScanPageDecodedKind(context, tableObjectId, items, folderId, DecodeAppointment);
}

bool ScanTasks(ProcessingContext& context, int32_t tableObjectId, std::vector<CTask>& items,
               const std::u16string& folderId) {
    return ScanPageDecodedKind(context, tableObjectId, items, folderId, DecodeTask);
}

bool ScanStickyNotes(ProcessingContext& context, int32_t tableObjectId,
                     std::vector<CStickyNote>& items, const std::u16string& folderId) {
    return ScanPageDecodedKind(context, tableObjectId, items, folderId, DecodeStickyNote);
}

bool ScanJournalEntries(ProcessingContext& context, int32_t tableObjectId,
                        std::vector<CJournal>& items, const std::u16string& folderId) {
    return ScanPageDecodedKind(context, tableObjectId, items, folderId, DecodeJournalEntry);
}

}  // namespace velmor
