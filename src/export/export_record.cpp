#include "export/export_record.h"

#include "browse/recipient_list.h"

namespace velmor {

namespace {

constexpr size_t kAddresseeColumn = 1;
constexpr std::u16string_view kExportRecipientSeparator = u"; ";

ContactFields ContactFieldsOf(const CContact& c) {
    return {c.fullName,      c.firstName,   c.lastName,        c.homePhone,
            c.businessPhone, c.mobilePhone, c.businessAddress, c.emailAddress};
}

}  // namespace

ExportRecord MakeExportRecord(int folderKind, int row, const std::vector<std::u16string>& cells,
                              const ListedItem& listed) {
    ExportRecord record;
    record.folderKind = folderKind;
    record.rowNumber = row + 1;
    record.cells = cells;
    record.sender = listed.sender;
    // A sent mail's row shows its recipients; its stored sender still writes From.
    if (const auto* mail = dynamic_cast<const CMailItem*>(listed.item);
        mail != nullptr && record.sender.empty()) {
        record.sender = mail->senderName;
    }
    record.recipients = listed.recipients;
    // A sent mail's addressee cell joins the names by ","; the export joins them by "; " so
    // that a name with a comma stays one name.
    if (record.cells.size() > kAddresseeColumn && !record.recipients.empty() &&
        record.cells[kAddresseeColumn] == JoinRecipientNames(record.recipients)) {
        record.cells[kAddresseeColumn] =
            JoinRecipientNames(record.recipients, kExportRecipientSeparator);
    }
    record.marker = listed.marker;
    record.location = listed.location;
    record.entryType = listed.entryType;
    record.subject = listed.subject;
    if (const CItem* item = listed.item) {
        record.itemId = item->itemId;
        // The listing shows no date for a time that does not convert; neither does the export.
        if (!item->dateText.empty()) {
            record.fileTime = item->timestamp;
        }
        if (record.subject.empty()) {
            const auto* calendar = dynamic_cast<const CCalendar*>(item);
            record.subject = calendar != nullptr ? calendar->appointmentSubject : item->subject;
        }
        if (const auto* contact = dynamic_cast<const CContact*>(item)) {
            record.contact = ContactFieldsOf(*contact);
            if (record.itemId.empty()) {
                record.itemId = contact->contactId;
            }
        }
    }
    return record;
}

std::vector<MessageAddress> ToRecipients(const ExportRecord& record) {
    if (!record.details.to.empty()) {
        return record.details.to;
    }
    std::vector<MessageAddress> to;
    for (const std::u16string& name : record.recipients) {
        to.push_back({name, u"", u""});
    }
    return to;
}

}  // namespace velmor
