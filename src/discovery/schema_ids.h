#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velmor {

// The message-table columns that the item scanners and readers need, found by name.
enum class MessageColumn {
    L3fde,
    L3ff1,
    S65ec,
    N1009,
    N67b3,
    S3a06,
    S3a08,
    S3a09,
    S3a11,
    S3a24,
    S80a7,
    S810c,
    S81b0,
    S81c2,
    S8295,
    S1000,  // the plain-text body
    N1013,  // the HTML body, as bytes
    S1013,  // the HTML body, as text
    S0c1f,  // the sender's address
    S0c1e,  // its type: "SMTP", or "EX" for an X.500 distinguished name
    S0042,  // the name of whom the mail was sent for
    S0065,  // that one's address
    S0064,  // and its type
    S0e04,  // the To names, separated by "; "
    S0e03,  // the Cc names
    S0e02,  // the Bcc names
    S007d,  // the Internet headers of a received mail
    S1035,  // Message-ID
    S1042,  // In-Reply-To
    S1039,  // References
    L0017,  // importance: 0 low, 1 normal, 2 high
    L0036,  // sensitivity
    L0e07,  // message flags
    L0e08,  // message size
};
inline constexpr size_t kMessageColumnCount = 34;

inline constexpr std::array<std::u16string_view, kMessageColumnCount> kMessageColumnNames = {
    u"L3fde", u"L3ff1", u"S65ec", u"N1009", u"N67b3", u"S3a06", u"S3a08", u"S3a09", u"S3a11",
    u"S3a24", u"S80a7", u"S810c", u"S81b0", u"S81c2", u"S8295", u"S1000", u"N1013", u"S1013",
    u"S0c1f", u"S0c1e", u"S0042", u"S0065", u"S0064", u"S0e04", u"S0e03", u"S0e02", u"S007d",
    u"S1035", u"S1042", u"S1039", u"L0017", u"L0036", u"L0e07", u"L0e08"};

// Identifiers of the store's tables and columns; 0 means not found.
struct SchemaIds {
    int32_t msgTableId = 0;
    int32_t msgTableObjectId = 0;
    int32_t foldersTableId = 0;
    int32_t mailboxTableId = 0;
    int32_t containerClassColumn = 0;
    int32_t msgLongValueId = 0;
    std::array<int32_t, kMessageColumnCount> messageColumns{};

    int32_t column(MessageColumn c) const { return messageColumns[static_cast<size_t>(c)]; }
    // True when col is the identifier of a column that was found.
    bool is(MessageColumn c, int32_t col) const { return column(c) != 0 && column(c) == col; }
};

}  // namespace velmor
