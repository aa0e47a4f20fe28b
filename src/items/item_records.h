#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "edb/text_form_evidence.h"

namespace velmor {

// itemKind values of a mail record; 2 to 6 double as the mail list's row images.
enum ItemKind : int32_t {
    kPlainMail = 1,
    kContactItem = 2,
    kAppointmentItem = 3,
    kTaskItem = 4,
    kStickyNoteItem = 5,
    kJournalItem = 6,
};

// One recovered item. Plain CItem records are the entries of the message index.
class CItem {
public:
    CItem() = default;
    CItem(const CItem&) = default;
    CItem(CItem&&) noexcept = default;
    CItem& operator=(const CItem&) = default;
    CItem& operator=(CItem&&) noexcept = default;
    virtual ~CItem() = default;
    // The run-time class name the record reports.
    virtual std::u16string_view ClassName() const { return u"CItem"; }

    std::u16string itemId;  // 16 upper-case hex digits
    std::u16string subject;
    uint64_t timestamp = 0;      // raw FILETIME
    std::u16string dateText;     // FormatItemDate of the stored time
    int64_t recordPosition = 0;  // message-index entries: file offset of the tagged directory
};

class CMailItem : public CItem {
public:
    std::u16string_view ClassName() const override { return u"CMailItem"; }

    std::u16string subjectPrefix;
    std::u16string senderName;
    std::u16string folderId;
    std::u16string recipientText;
    int32_t itemKind = kPlainMail;
    // What the stored sender, subject and recipient names allow; the bytes of a tie, read again
    // in its column's form once the folder's records are all read (SettleTiedMailText).
    AllowedForms senderForms = AllowedForms::Neither;
    AllowedForms subjectForms = AllowedForms::Neither;
    AllowedForms recipientForms = AllowedForms::Neither;
    std::vector<uint8_t> tiedSender;
    std::vector<uint8_t> tiedSubject;
    std::vector<uint8_t> tiedRecipients;
    bool senderLengthPrefixed = false;  // the sender came from the length-prefixed column
};

class CContact : public CItem {
public:
    std::u16string_view ClassName() const override { return u"CContact"; }

    std::u16string firstName;
    std::u16string lastName;
    std::u16string businessPhone;
    std::u16string homePhone;
    std::u16string mobilePhone;
    std::u16string businessAddress;
    std::u16string emailAddress;
    std::u16string folderId;
    std::u16string contactId;
    std::u16string fullName;
};

class CCalendar : public CItem {
public:
    std::u16string_view ClassName() const override { return u"CCalendar"; }

    std::u16string appointmentSubject;
    std::u16string secondaryText;
    std::u16string dateCopy;
};

class CTask : public CItem {
public:
    std::u16string_view ClassName() const override { return u"CTask"; }

    std::u16string dateCopy;
};

class CStickyNote : public CItem {
public:
    std::u16string_view ClassName() const override { return u"CStickyNote"; }

    std::u16string dateCopy;
};

// Journal records have no run-time class of their own and answer as CItem.
class CJournal : public CItem {
public:
    std::u16string dateCopy;
};

}  // namespace velmor
