#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "discovery/processing_context.h"

namespace velmor {

// A mail's addressing, Internet headers and state as the message table's named columns keep
// them. A column the catalog does not name, or a value that cannot be read whole, is absent.
struct StoredMessageFields {
    std::optional<std::u16string> senderAddress;            // "S0c1f"
    std::optional<std::u16string> senderAddressType;        // "S0c1e"
    std::optional<std::u16string> representingName;         // "S0042"
    std::optional<std::u16string> representingAddress;      // "S0065"
    std::optional<std::u16string> representingAddressType;  // "S0064"
    std::optional<std::u16string> displayTo;                // "S0e04"
    std::optional<std::u16string> displayCc;                // "S0e03"
    std::optional<std::u16string> displayBcc;               // "S0e02"
    std::optional<std::u16string> internetHeaders;          // "S007d"
    std::optional<std::u16string> messageId;                // "S1035"
    std::optional<std::u16string> inReplyTo;                // "S1042"
    std::optional<std::u16string> references;               // "S1039"
    std::optional<uint32_t> importance;                     // "L0017"
    std::optional<uint32_t> sensitivity;                    // "L0036"
    std::optional<uint32_t> flags;                          // "L0e07"
    std::optional<uint32_t> size;                           // "L0e08"
};

// The fields of the message records of the item id, in index order: each from the first
// record that holds it readable.
StoredMessageFields ReadStoredMessageFields(ProcessingContext& context,
                                            const std::u16string& itemId);

}  // namespace velmor
