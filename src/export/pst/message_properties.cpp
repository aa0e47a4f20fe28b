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

constexpr std::u16string_view kDisplayListSeparator = u"; ";

void SetIfPresent(PropertyList& properties, uint16_t id, const std::u16string& text) {
    if (!text.empty()) {
        properties.SetString(id, text);
    }
}

// The name shown for an address: its display name, or the address when it has none.
const std::u16string& ShownName(const MessageAddress& address) {
    return address.name.empty() ? address.address : address.name;
}

std::u16string JoinNames(const std::vector<MessageAddress>& addresses) {
    std::u16string joined;
    for (const MessageAddress& address : addresses) {
        if (!joined.empty()) {
            joined += kDisplayListSeparator;
        }
        joined += ShownName(address);
    }
    return joined;
}

// The type of an address the store keeps: as stored, or SMTP for an untyped one.
std::u16string AddressType(const MessageAddress& address) {
    return address.addressType.empty() ? std::u16string(kSmtpAddressType) : address.addressType;
}

// Sender and sent-representing: the name, and the address with its type when there is one.
void SetSender(PropertyList& properties, const ExportRecord& record) {
    using namespace prop;
    const MessageAddress& from = record.details.from;
    const std::u16string& name = from.name.empty() ? record.sender : from.name;
    SetIfPresent(properties, kSenderName, name);
    SetIfPresent(properties, kSentRepresentingName, name);
    if (!from.address.empty()) {
        for (const auto& [address, type] :
             {std::pair{kSenderEmailAddress, kSenderAddressType},
              std::pair{kSentRepresentingEmailAddress, kSentRepresentingAddressType}}) {
            properties.SetString(address, from.address);
            properties.SetString(type, AddressType(from));
        }
    }
}

// The stored flags that the file can keep true: read or not, and whether attachments follow.
uint32_t MessageFlags(const MessageDetails& details, bool hasAttachments) {
    return (details.read.value_or(true) ? prop::kMessageFlagRead : 0) |
           (hasAttachments ? prop::kMessageFlagHasAttachments : 0);
}

void SetIfPresent(PropertyList& properties, uint16_t id,
                  const std::optional<std::u16string>& text) {
    if (text && !text->empty()) {
        properties.SetString(id, *text);
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

PropertyList MessageProperties(const ExportRecord& record, uint64_t exportTime,
                               const std::vector<MailAttachment>& attachments) {
    using namespace prop;
    PropertyList properties;
    properties.SetString(kMessageClass, MessageClass(record.folderKind));
    const MessageDetails& details = record.details;
    properties.SetInt32(kImportance, details.importance.value_or(kImportanceNormal));
    properties.SetInt32(kSensitivity, details.sensitivity.value_or(0));
    properties.SetInt32(kMessageFlags, MessageFlags(details, !attachments.empty()));
    if (!attachments.empty()) {
        properties.SetBoolean(kHasAttachments, true);
    }
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
        SetSender(properties, record);
        properties.SetString(kDisplayTo, JoinNames(ToRecipients(record)));
        SetIfPresent(properties, kDisplayCc, JoinNames(details.cc));
        SetIfPresent(properties, kDisplayBcc, JoinNames(details.bcc));
        SetIfPresent(properties, kTransportMessageHeaders, details.internetHeaders);
        SetIfPresent(properties, kInternetMessageId, details.messageId);
        SetIfPresent(properties, kInReplyToId, details.inReplyTo);
        SetIfPresent(properties, kInternetReferences, details.references);
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
    size_t attachmentBytes = 0;
    for (const MailAttachment& attachment : attachments) {
        attachmentBytes += attachment.content.size();
    }
    properties.SetInt32(kMessageSize,
                        MessageSize(properties) + static_cast<uint32_t>(attachmentBytes));
    return properties;
}

std::vector<PropertyList> RecipientRows(const ExportRecord& record) {
    using namespace prop;
    std::vector<PropertyList> rows;
    if (!IsMailKind(record.folderKind)) {
        return rows;
    }
    const auto add = [&](const std::vector<MessageAddress>& addresses, uint32_t type) {
        for (const MessageAddress& address : addresses) {
            PropertyList row;
            row.SetInt32(kRecipientType, type);
            row.SetBoolean(kResponsibility, false);
            row.SetInt32(kObjectType, kObjectTypeMailUser);
            row.SetInt32(kDisplayType, 0);
            row.SetString(kDisplayName, ShownName(address));
            row.SetString(kTransmittableDisplayName, ShownName(address));
            if (!address.address.empty()) {
                row.SetString(kAddressType, AddressType(address));
                row.SetString(kEmailAddress, address.address);
            }
            row.SetBoolean(kSendRichInfo, false);
            row.SetInt32(kRowId, static_cast<uint32_t>(rows.size()));
            rows.push_back(std::move(row));
        }
    };
    add(ToRecipients(record), kRecipientTo);
    add(record.details.cc, kRecipientCc);
    add(record.details.bcc, kRecipientBcc);
    return rows;
}

}  // namespace velmor::pst
