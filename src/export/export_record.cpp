#include "export/export_record.h"

namespace velmor {

namespace {

// The recipient text of a mail holds the names joined by "," without blanks.
std::vector<std::u16string> SplitRecipients(const std::u16string& text) {
    std::vector<std::u16string> names;
    size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const size_t comma = text.find(u',', start);
        const size_t end = comma == std::u16string::npos ? text.size() : comma;
        if (end > start) {
            names.push_back(text.substr(start, end - start));
        }
        if (comma == std::u16string::npos) {
            break;
        }
        start = comma + 1;
    }
    return names;
}

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
    record.recipients = SplitRecipients(listed.recipients);
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

}  // namespace velmor
