#include "export/pst/message_properties.h"

#include "browse/folder_kind.h"
#include "edb/text_codec.h"
#include "export/export_formats.h"
#include "export/pst/named_properties.h"
#include "export/pst/property_ids.h"

namespace velmor::pst {

namespace {

constexpr size_t kLongestSubjectPrefix = 3;

// A rough size of the item: the bytes of its values.
uint32_t MessageSize(const PropertyList& properties) {
    size_t size = 0;
    for (const auto& [id, value] : properties.values()) {
        size += value.bytes.size();
    }
    return static_cast<uint32_t>(size);
}

std::u16string JoinRecipients(const std::vector<std::u16string>& names) {
    std::u16string joined;
    for (const auto& name : names) {
        joined += (joined.empty() ? u"" : u"; ") + name;
    }
    return joined;
}

void SetIfPresent(PropertyList& properties, uint16_t id, const std::u16string& text) {
    if (!text.empty()) {
        properties.SetString(id, text);
    }
}

void SetContactFields(PropertyList& properties, const ContactFields& contact) {
    using namespace prop;
    SetIfPresent(properties, kDisplayName, contact.fullName);
    SetIfPresent(properties, NamedId(Named::kFileUnder), contact.fullName);
    SetIfPresent(properties, kGivenName, contact.firstName);
    SetIfPresent(properties, kSurname, contact.lastName);
    SetIfPresent(properties, kHomeTelephoneNumber, contact.homePhone);
    SetIfPresent(properties, kBusinessTelephoneNumber, contact.businessPhone);
    SetIfPresent(properties, kMobileTelephoneNumber, contact.mobilePhone);
    SetIfPresent(properties, kPostalAddress, contact.businessAddress);
    SetIfPresent(properties, NamedId(Named::kWorkAddress), contact.businessAddress);
    SetIfPresent(properties, NamedId(Named::kEmail1Address), contact.emailAddress);
    SetIfPresent(properties, NamedId(Named::kEmail1DisplayName), contact.emailAddress);
}

}  // namespace

std::u16string MessageClass(int folderKind) {
    switch (folderKind) {
        case kContactFolder:
            return u"IPM.Contact";
        case kAppointmentFolder:
            return u"IPM.Appointment";
        case kTaskFolder:
            return u"IPM.Task";
        case kStickyNoteFolder:
            return u"IPM.StickyNote";
        case kJournalFolder:
            return u"IPM.Activity";
        default:
            return u"IPM.Note";
    }
}

std::u16string ContainerClass(int folderKind) {
    switch (folderKind) {
        case kContactFolder:
            return u"IPF.Contact";
        case kAppointmentFolder:
            return u"IPF.Appointment";
        case kTaskFolder:
            return u"IPF.Task";
        case kStickyNoteFolder:
            return u"IPF.StickyNote";
        case kJournalFolder:
            return u"IPF.Journal";
        default:
            return u"IPF.Note";
    }
}

// A prefix is one to three characters other than digits and blanks, a colon and a blank.
std::pair<std::u16string, std::u16string> SplitSubject(const std::u16string& subject) {
    for (size_t colon = 1; colon <= kLongestSubjectPrefix && colon + 1 < subject.size(); ++colon) {
        const char16_t c = subject[colon - 1];
        if ((c >= u'0' && c <= u'9') || c == u' ' || c == u':') {
            break;
        }
        if (subject[colon] == u':' && subject[colon + 1] == u' ') {
            return {subject.substr(0, colon + 2), subject.substr(colon + 2)};
        }
    }
    return {u"", subject};
}

PropertyList MessageProperties(const ExportRecord& record, uint64_t exportTime) {
    using namespace prop;
    PropertyList properties;
    properties.SetString(kMessageClass, MessageClass(record.folderKind));
    properties.SetInt32(kImportance, kImportanceNormal);
    properties.SetInt32(kSensitivity, 0);
    properties.SetInt32(kMessageFlags, kMessageFlagRead);
    properties.SetInt32(kMessageStatus, 0);
    properties.SetBoolean(kMessageToMe, false);
    properties.SetBoolean(kMessageCcMe, false);

    std::u16string subject = record.subject;
    if (record.folderKind == kContactFolder) {
        SetContactFields(properties, record.contact);
        if (subject.empty()) {
            subject = record.contact.fullName;
        }
    }
    const auto [prefix, normalized] = SplitSubject(subject);
    properties.SetString(kSubject, subject);
    properties.SetString(kSubjectPrefix, prefix);
    properties.SetString(kNormalizedSubject, normalized);
    properties.SetString(kConversationTopic, normalized);

    if (IsMailKind(record.folderKind)) {
        SetIfPresent(properties, kSenderName, record.sender);
        SetIfPresent(properties, kSentRepresentingName, record.sender);
        properties.SetString(kDisplayTo, JoinRecipients(record.recipients));
    }
    properties.SetTime(kCreationTime, record.fileTime.value_or(exportTime));
    properties.SetTime(kLastModificationTime, record.fileTime.value_or(exportTime));
    if (record.fileTime) {
        const uint64_t time = *record.fileTime;
        properties.SetTime(kClientSubmitTime, time);
        properties.SetTime(kMessageDeliveryTime, time);
        if (record.folderKind == kAppointmentFolder) {
            properties.SetTime(kStartDate, time);
            properties.SetTime(kEndDate, time);
            properties.SetTime(NamedId(Named::kAppointmentStart), time);
            properties.SetTime(NamedId(Named::kAppointmentEnd), time);
        }
        if (record.folderKind == kJournalFolder) {
            properties.SetTime(NamedId(Named::kLogStart), time);
            properties.SetTime(NamedId(Named::kLogEnd), time);
        }
    }
    if (record.folderKind == kAppointmentFolder) {
        SetIfPresent(properties, NamedId(Named::kLocation), record.location);
    }
    if (record.folderKind == kJournalFolder) {
        SetIfPresent(properties, NamedId(Named::kLogType), record.entryType);
    }
    if (record.marker) {
        properties.SetInt32(kFlagStatus, kFlagStatusFlagged);
    }
    if (record.bodyText) {
        properties.SetString(kBody, *record.bodyText);
    }
    if (record.bodyHtml) {
        const std::string html = Utf16ToUtf8(*record.bodyHtml);
        properties.SetBinary(kHtml, Bytes(html.begin(), html.end()));
        properties.SetInt32(kInternetCodepage, kCodepageUtf8);
    }
    SetIfPresent(properties, NamedId(Named::kItemId), record.itemId);
    properties.SetInt32(kMessageSize, MessageSize(properties));
    return properties;
}

std::vector<PropertyList> RecipientRows(const ExportRecord& record) {
    using namespace prop;
    std::vector<PropertyList> rows;
    if (!IsMailKind(record.folderKind)) {
        return rows;
    }
    for (size_t i = 0; i < record.recipients.size(); ++i) {
        PropertyList row;
        row.SetInt32(kRecipientType, kRecipientTo);
        row.SetBoolean(kResponsibility, false);
        row.SetInt32(kObjectType, kObjectTypeMailUser);
        row.SetInt32(kDisplayType, 0);
        row.SetString(kDisplayName, record.recipients[i]);
        row.SetString(kTransmittableDisplayName, record.recipients[i]);
        row.SetBoolean(kSendRichInfo, false);
        row.SetInt32(kRowId, static_cast<uint32_t>(i));
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace velmor::pst
