#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace velmor::testdb {

// A record of the Mailbox table, from its marker m:
//   m        FF FF FF FF
//   m + 49   key length
//   m + 51   a run of words ending just before the key; its last word is the distance from the
//            key to the tagged entries (the key's first word, 1 to 6, ends the run)
//   kpos     the key bytes
//   t        entries (256, J0), (257, J1), (0, end), then the two values; offsets count from t,
//            and each value starts with a header byte
struct MailboxRecord {
    std::vector<uint8_t> key;
    std::vector<uint8_t> displayName;                              // stored text bytes
    std::vector<uint8_t> column256 = std::vector<uint8_t>(16, 0);  // a GUID-sized value
    uint8_t valueHeader = 0;
    uint8_t offsetFlags = 0;  // upper 4 bits of every offset
    // Raw forms for damaged records.
    std::optional<uint16_t> keyLengthField;     // default: the key's size
    std::vector<uint16_t> runWords;             // default: one word, the directory distance
    std::optional<uint16_t> directoryDistance;  // kpos to t; default: the key's size
};

// Offset of the key-length field from the marker.
inline constexpr int64_t kMailboxKeyLengthOffset = 49;

std::vector<uint8_t> EncodeMailboxRecord(const MailboxRecord& record);

}  // namespace velmor::testdb
