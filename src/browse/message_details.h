#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "browse/stored_message_fields.h"
#include "mime/internet_headers.h"

namespace velmor {

// A sender or recipient. An "EX" address is an X.500 distinguished name, never an e-mail
// address; the address is empty when the store keeps the name only.
struct MessageAddress {
    std::u16string name;
    std::u16string address;
    std::u16string addressType;  // "SMTP", "EX", or empty when unknown
};

inline constexpr char16_t kSmtpAddressType[] = u"SMTP";
inline constexpr char16_t kExchangeAddressType[] = u"EX";

// Everything of a mail beyond its subject, date and body: who sent it and to whom, its
// Internet headers and its state. Each field stands alone: one that could not be read is
// absent (or empty) and leaves the others as they are.
struct MessageDetails {
    MessageAddress from;
    std::vector<MessageAddress> to;
    std::vector<MessageAddress> cc;
    std::vector<MessageAddress> bcc;
    std::vector<MessageAddress> replyTo;
    std::optional<std::u16string> messageId;  // "<id>"
    std::optional<std::u16string> inReplyTo;
    std::optional<std::u16string> references;
    std::optional<uint32_t> importance;   // 0 low, 1 normal, 2 high
    std::optional<uint32_t> sensitivity;  // 0 normal, 1 personal, 2 private, 3 confidential
    std::optional<bool> read;
    std::optional<bool> hasAttachments;
    std::optional<uint32_t> size;
    std::optional<std::u16string> internetHeaders;  // the raw text
};

// The details from the stored fields, the sender name and the recipient names the record
// gives: the Internet headers, where there are some, give the exact From, To, Cc, Reply-To,
// Message-ID and the addresses; the stored fields the rest.
MessageDetails CombineMessageDetails(const StoredMessageFields& fields,
                                     const std::u16string& senderName,
                                     const std::vector<std::u16string>& recipientNames);

// Keeps text as the details' Internet headers and takes from them the exact From (its name
// where the headers give one), To, Cc, Reply-To and Message-ID, and In-Reply-To and
// References where the details have none.
void ApplyInternetHeaders(MessageDetails& details, const std::u16string& text);

// The details of the item id, read from its message records.
MessageDetails ReadMessageDetails(ProcessingContext& context, const std::u16string& itemId,
                                  const std::u16string& senderName,
                                  const std::vector<std::u16string>& recipientNames);

// "Name <address>", the name alone, or for an "EX" address "Name [EX: /o=...]".
std::u16string AddressText(const MessageAddress& address);
// The addresses' texts joined by "; ".
std::u16string AddressListText(const std::vector<MessageAddress>& addresses);

// "low", "normal", "high"; empty for another value.
std::u16string ImportanceName(uint32_t importance);
// "normal", "personal", "private", "confidential"; empty for another value.
std::u16string SensitivityName(uint32_t sensitivity);

}  // namespace velmor
