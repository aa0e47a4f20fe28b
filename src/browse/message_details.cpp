#include "browse/message_details.h"

#include <array>

namespace velmor {

namespace {

constexpr std::u16string_view kDisplayListSeparator = u"; ";
constexpr uint32_t kReadFlag = 0x1;
constexpr uint32_t kHasAttachmentsFlag = 0x10;
constexpr std::array<std::u16string_view, 3> kImportanceNames = {u"low", u"normal", u"high"};
constexpr std::array<std::u16string_view, 4> kSensitivityNames = {u"normal", u"personal",
                                                                  u"private", u"confidential"};

// The names of a display list, each trimmed of blanks; empty names dropped.
std::vector<MessageAddress> DisplayListNames(const std::optional<std::u16string>& list) {
    std::vector<MessageAddress> names;
    if (!list) {
        return names;
    }
    size_t start = 0;
    while (start <= list->size()) {
        size_t end = list->find(kDisplayListSeparator, start);
        if (end == std::u16string::npos) {
            end = list->size();
        }
        const std::u16string name = list->substr(start, end - start);
        const size_t first = name.find_first_not_of(u' ');
        if (first != std::u16string::npos) {
            names.push_back(
                {name.substr(first, name.find_last_not_of(u' ') - first + 1), u"", u""});
        }
        start = end + kDisplayListSeparator.size();
    }
    return names;
}

std::vector<MessageAddress> FromHeaders(const std::vector<HeaderAddress>& addresses) {
    std::vector<MessageAddress> result;
    for (const HeaderAddress& address : addresses) {
        result.push_back({address.name, address.address, kSmtpAddressType});
    }
    return result;
}

bool IsExchange(const std::optional<std::u16string>& type) {
    return type && *type == kExchangeAddressType;
}

// An address with its type; an untyped one is taken as SMTP only when it looks like one.
std::optional<MessageAddress> TypedAddress(const std::optional<std::u16string>& address,
                                           const std::optional<std::u16string>& type) {
    if (!address) {
        return std::nullopt;
    }
    if (type) {
        return MessageAddress{u"", *address, *type};
    }
    const bool smtp = address->find(u'@') != std::u16string::npos;
    return MessageAddress{u"", *address, smtp ? kSmtpAddressType : u""};
}

// The sender as the stored fields give it: the address sent for takes precedence over the
// address of whom sent it, and an e-mail address over a distinguished name.
MessageAddress StoredSender(const StoredMessageFields& fields, const std::u16string& senderName) {
    MessageAddress from;
    from.name = !senderName.empty() ? senderName : fields.representingName.value_or(u"");
    const auto representing =
        TypedAddress(fields.representingAddress, fields.representingAddressType);
    const auto sender = TypedAddress(fields.senderAddress, fields.senderAddressType);
    for (const auto& candidate : {representing, sender}) {
        if (candidate && !IsExchange(candidate->addressType)) {
            from.address = candidate->address;
            from.addressType = candidate->addressType;
            return from;
        }
    }
    for (const auto& candidate : {representing, sender}) {
        if (candidate) {
            from.address = candidate->address;
            from.addressType = candidate->addressType;
            return from;
        }
    }
    return from;
}

}  // namespace

MessageDetails CombineMessageDetails(const StoredMessageFields& fields,
                                     const std::u16string& senderName,
                                     const std::vector<std::u16string>& recipientNames) {
    MessageDetails details;
    details.from = StoredSender(fields, senderName);
    details.to = DisplayListNames(fields.displayTo);
    if (!fields.displayTo) {
        for (const std::u16string& name : recipientNames) {
            details.to.push_back({name, u"", u""});
        }
    }
    details.cc = DisplayListNames(fields.displayCc);
    details.bcc = DisplayListNames(fields.displayBcc);
    details.messageId = fields.messageId;
    details.inReplyTo = fields.inReplyTo;
    details.references = fields.references;
    if (fields.importance && *fields.importance < kImportanceNames.size()) {
        details.importance = fields.importance;
    }
    if (fields.sensitivity && *fields.sensitivity < kSensitivityNames.size()) {
        details.sensitivity = fields.sensitivity;
    }
    if (fields.flags) {
        details.read = (*fields.flags & kReadFlag) != 0;
        details.hasAttachments = (*fields.flags & kHasAttachmentsFlag) != 0;
    }
    details.size = fields.size;
    if (fields.internetHeaders) {
        ApplyInternetHeaders(details, *fields.internetHeaders);
    }
    return details;
}

void ApplyInternetHeaders(MessageDetails& details, const std::u16string& text) {
    details.internetHeaders = text;
    const InternetHeaders headers = ParseInternetHeaders(text);
    if (!headers.from.empty()) {
        const HeaderAddress& from = headers.from.front();
        details.from = {from.name.empty() ? details.from.name : from.name, from.address,
                        kSmtpAddressType};
    }
    if (!headers.to.empty()) {
        details.to = FromHeaders(headers.to);
    }
    if (!headers.cc.empty()) {
        details.cc = FromHeaders(headers.cc);
    }
    details.replyTo = FromHeaders(headers.replyTo);
    if (headers.messageId) {
        details.messageId = headers.messageId;
    }
    if (!details.inReplyTo) {
        details.inReplyTo = headers.inReplyTo;
    }
    if (!details.references) {
        details.references = headers.references;
    }
}

MessageDetails ReadMessageDetails(ProcessingContext& context, const std::u16string& itemId,
                                  const std::u16string& senderName,
                                  const std::vector<std::u16string>& recipientNames) {
    return CombineMessageDetails(ReadStoredMessageFields(context, itemId), senderName,
                                 recipientNames);
}

std::u16string AddressText(const MessageAddress& address) {
    if (address.address.empty()) {
        return address.name;
    }
    if (address.addressType == kExchangeAddressType) {
        return address.name + (address.name.empty() ? u"" : u" ") + u"[EX: " + address.address +
               u"]";
    }
    if (address.name.empty()) {
        return address.address;
    }
    return address.name + u" <" + address.address + u">";
}

std::u16string AddressListText(const std::vector<MessageAddress>& addresses) {
    std::u16string text;
    for (const MessageAddress& address : addresses) {
        if (!text.empty()) {
            text += kDisplayListSeparator;
        }
        text += AddressText(address);
    }
    return text;
}

std::u16string ImportanceName(uint32_t importance) {
    return importance < kImportanceNames.size() ? std::u16string(kImportanceNames[importance])
                                                : std::u16string();
}

std::u16string SensitivityName(uint32_t sensitivity) {
    return sensitivity < kSensitivityNames.size() ? std::u16string(kSensitivityNames[sensitivity])
                                                  : std::u16string();
}

}  // namespace velmor
