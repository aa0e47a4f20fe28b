#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace velmor::testdb {

// Tagged columns that the store's readers know by number.
namespace fixed_column {
// Folders table: a folder record's directory starts with the pair (256, 260).
inline constexpr uint16_t kFolderMarker = 256;
inline constexpr uint16_t kFolderMarkerPartner = 260;
inline constexpr uint16_t kFolderDisplayName = 261;
// Mailbox table: the pair (256, 257) starts a mailbox record's entries.
inline constexpr uint16_t kMailboxMarker = 256;
inline constexpr uint16_t kMailboxDisplayName = 257;
// A folder's own message table.
inline constexpr uint16_t kChangeMarker = 256;  // a 4-byte value hides the subject from readers
inline constexpr uint16_t kSize = 257;
inline constexpr uint16_t kPrefixedSender = 258;
inline constexpr uint16_t kSender = 264;
inline constexpr uint16_t kSubjectPrefix = 281;
inline constexpr uint16_t kSubject = 282;
inline constexpr uint16_t kLocation = 481;
// The store's message table.
inline constexpr uint16_t kSenderName = 0x100;
inline constexpr uint16_t kSenderAddress = 0x101;
inline constexpr uint16_t kRecipients = 0x11A;
inline constexpr uint16_t kMessageSubject = 0x14B;
}  // namespace fixed_column

// The message-table columns that readers find by name in the catalog. Their ids stay below
// 0x300 and avoid the low bytes 0x00, 0x01 and 0x03, so that no two directory entries can
// look like the start of another record's directory.
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
    S1000,
    N1013,
    S1013,
    S0c1f,
    S0c1e,
    S0042,
    S0065,
    S0064,
    S0e04,
    S0e03,
    S0e02,
    S007d,
    S1035,
    S1042,
    S1039,
    L0017,
    L0036,
    L0e07,
    L0e08,
};

inline constexpr std::array<std::string_view, 34> kMessageColumnNames = {
    "L3fde", "L3ff1", "S65ec", "N1009", "N67b3", "S3a06", "S3a08", "S3a09", "S3a11",
    "S3a24", "S80a7", "S810c", "S81b0", "S81c2", "S8295", "S1000", "N1013", "S1013",
    "S0c1f", "S0c1e", "S0042", "S0065", "S0064", "S0e04", "S0e03", "S0e02", "S007d",
    "S1035", "S1042", "S1039", "L0017", "L0036", "L0e07", "L0e08"};

inline constexpr uint16_t kFirstMessageColumnId = 0x0240;

inline constexpr uint16_t MessageColumnId(MessageColumn column) {
    return static_cast<uint16_t>(kFirstMessageColumnId + static_cast<uint16_t>(column));
}

// The Folders table's container-class column ("S3613"); it follows the display name.
inline constexpr uint16_t kContainerClassColumnId = 0x0264;

}  // namespace velmor::testdb
