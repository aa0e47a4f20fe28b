#include "search/search_fields.h"

#include "items/item_records.h"

namespace velmor {

namespace {

std::u16string KindName(const CItem* item) {
    if (const auto* mail = dynamic_cast<const CMailItem*>(item)) {
        switch (mail->itemKind) {
            case kContactItem:
                return u"contact";
            case kAppointmentItem:
                return u"appointment";
            case kTaskItem:
                return u"task";
            case kStickyNoteItem:
                return u"note";
            case kJournalItem:
                return u"journal";
            default:
                return u"mail";
        }
    }
    if (dynamic_cast<const CContact*>(item)) {
        return u"contact";
    }
    if (dynamic_cast<const CCalendar*>(item)) {
        return u"appointment";
    }
    if (dynamic_cast<const CTask*>(item)) {
        return u"task";
    }
    if (dynamic_cast<const CStickyNote*>(item)) {
        return u"note";
    }
    return u"journal";
}

}  // namespace

SearchFields CollectSearchFields(const std::u16string& folderPath, int row,
                                 const ListedItem& listed) {
    SearchFields fields;
    fields.folderPath = folderPath;
    fields.rowNumber = row + 1;
    fields.kind = KindName(listed.item);
    fields.sender = listed.sender;
    fields.to = listed.recipients;
    fields.subject = listed.subject;
    if (const CItem* item = listed.item) {
        fields.itemId = item->itemId;
        fields.dateText = item->dateText;
        if (!item->dateText.empty()) {
            fields.fileTime = item->timestamp;
        }
        if (fields.subject.empty()) {
            const auto* calendar = dynamic_cast<const CCalendar*>(item);
            fields.subject = calendar != nullptr ? calendar->appointmentSubject : item->subject;
        }
        if (const auto* mail = dynamic_cast<const CMailItem*>(item);
            mail != nullptr && fields.sender.empty()) {
            fields.sender = mail->senderName;
        }
        if (const auto* contact = dynamic_cast<const CContact*>(item)) {
            fields.sender = contact->fullName + u' ' + contact->emailAddress;
            if (fields.itemId.empty()) {
                fields.itemId = contact->contactId;
            }
        }
    }
    return fields;
}

}  // namespace velmor
