#include "edb_writer/item_encoding.h"

#include "edb_writer/byte_writer.h"
#include "edb_writer/store_columns.h"

namespace velmor::testdb {

namespace {

// Readers take a recipient value of 5 bytes (header byte included) as a long-value reference
// and decode only in-line values shorter than 1000 bytes.
constexpr size_t kLongestInLineList = 998;
constexpr size_t kChangeMarkerSize = 8;
constexpr size_t kHidingChangeMarkerSize = 4;
constexpr size_t kSizeValueSize = 4;
constexpr size_t kFlagValueSize = 8;
constexpr std::string_view kDisplayToSeparator = "; ";
// Enough room for the values of any item, so that building them allocates once.
constexpr size_t kMostValues = 16;

void AddText(std::vector<TaggedValue>& values, uint16_t column, std::string_view text,
             TextEncoding encoding) {
    if (!text.empty()) {
        values.push_back({column, EncodeText(text, encoding)});
    }
}

void AddText(std::vector<TaggedValue>& values, MessageColumn column, std::string_view text,
             TextEncoding encoding) {
    AddText(values, MessageColumnId(column), text, encoding);
}

std::string_view MessageClass(const Item& item) {
    return item.messageClass.empty() ? DefaultMessageClass(item.kind) : item.messageClass;
}

std::string_view Subject(const Item& item) {
    return item.kind == ItemKind::Contact && item.subject.empty() ? item.contact.fullName
                                                                  : item.subject;
}

std::string DisplayTo(const Item& item) {
    if (!item.displayTo.empty()) {
        return item.displayTo;
    }
    std::string text;
    for (const Recipient& recipient : item.recipients) {
        if (!text.empty()) {
            text += kDisplayToSeparator;
        }
        text += recipient.name;
    }
    return text;
}

std::vector<uint8_t> LittleEndian64(uint64_t value, size_t size) {
    ByteWriter writer;
    writer.U64(value);
    std::vector<uint8_t> bytes = writer.Take();
    bytes.resize(size);
    return bytes;
}

}  // namespace

std::string_view DefaultMessageClass(ItemKind kind) {
    switch (kind) {
        case ItemKind::Mail:
            return "IPM.Note";
        case ItemKind::Contact:
            return "IPM.Contact";
        case ItemKind::Appointment:
            return "IPM.Appointment";
        case ItemKind::Task:
            return "IPM.Task";
        case ItemKind::StickyNote:
            return "IPM.StickyNote";
        case ItemKind::Journal:
            return "IPM.Activity";
    }
    return "IPM.Note";
}

std::vector<TaggedValue> FolderTableValues(const Item& item) {
    namespace col = fixed_column;
    const TextEncoding encoding = item.encoding;
    std::vector<TaggedValue> values;
    values.reserve(kMostValues);
    values.push_back(
        {col::kChangeMarker, LittleEndian64(item.time, item.hideSubject ? kHidingChangeMarkerSize
                                                                        : kChangeMarkerSize)});
    values.push_back({col::kSize, std::vector<uint8_t>(kSizeValueSize, 0)});
    if (item.kind == ItemKind::Mail && !item.sender.empty()) {
        if (item.senderColumn == SenderColumn::LengthPrefixed) {
            values.push_back(
                {col::kPrefixedSender, EncodeLengthPrefixedText(item.sender, encoding)});
        } else {
            AddText(values, col::kSender, item.sender, encoding);
        }
    }
    AddText(values, col::kSubjectPrefix, item.subjectPrefix, encoding);
    AddText(values, col::kSubject, Subject(item), encoding);
    if (item.kind == ItemKind::Appointment) {
        AddText(values, col::kLocation, item.location, encoding);
    }
    AddText(values, MessageColumn::L3ff1, MessageClass(item), encoding);
    if (item.kind == ItemKind::Mail) {
        AddText(values, MessageColumn::S65ec, DisplayTo(item), encoding);
    }
    return values;
}

bool StoresRecipientsOutOfLine(const Item& item, size_t listSize) {
    switch (item.recipientStorage) {
        case RecipientStorage::InLine:
            return false;
        case RecipientStorage::OutOfLine:
            return true;
        case RecipientStorage::Auto:
            break;
    }
    return listSize > kLongestInLineList;
}

std::vector<TaggedValue> MessageTableValues(const Item& item,
                                            const std::vector<uint8_t>& recipientList,
                                            std::optional<uint16_t> longValueId) {
    namespace col = fixed_column;
    const TextEncoding encoding = item.encoding;
    std::vector<TaggedValue> values;
    values.reserve(kMostValues);
    values.push_back({col::kSenderName, EncodeLengthPrefixedText(item.sender, encoding)});
    values.push_back({col::kSenderAddress, EncodeLengthPrefixedText(item.senderAddress, encoding)});
    if (longValueId) {
        ByteWriter writer;
        writer.U32(*longValueId);
        std::vector<uint8_t> reference = writer.Take();
        reference.resize(item.recipientReferenceSize);
        values.push_back({col::kRecipients, std::move(reference)});
    } else if (!recipientList.empty()) {
        values.push_back({col::kRecipients, recipientList});
    }
    if (item.trailingRecipientReference) {
        ByteWriter reference;
        reference.U32(*item.trailingRecipientReference);
        values.push_back({col::kRecipients, reference.Take()});
    }
    AddText(values, col::kMessageSubject, Subject(item), encoding);
    AddText(values, MessageColumn::L3ff1, MessageClass(item), encoding);
    if (item.flagged) {
        values.push_back(
            {MessageColumnId(MessageColumn::N67b3), std::vector<uint8_t>(kFlagValueSize, 0)});
    }
    if (item.kind == ItemKind::Appointment) {
        AddText(values, MessageColumn::S810c, item.location, encoding);
    }
    if (item.kind == ItemKind::Journal) {
        AddText(values, MessageColumn::S8295, item.entryType, encoding);
    }
    if (item.kind == ItemKind::Contact) {
        const ContactFields& contact = item.contact;
        AddText(values, MessageColumn::S81c2, contact.fullName, encoding);
        AddText(values, MessageColumn::S3a06, contact.firstName, encoding);
        AddText(values, MessageColumn::S3a11, contact.lastName, encoding);
        AddText(values, MessageColumn::S3a08, contact.businessPhone, encoding);
        AddText(values, MessageColumn::S3a09, contact.homePhone, encoding);
        AddText(values, MessageColumn::S3a24, contact.mobilePhone, encoding);
        AddText(values, MessageColumn::S80a7, contact.businessAddress, encoding);
        AddText(values, MessageColumn::S81b0, contact.emailAddress, encoding);
    }
    return values;
}

}  // namespace velmor::testdb
