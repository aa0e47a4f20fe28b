#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace velmor::testdb {

// The 8-byte identifier of a mailbox, folder or item: a 16-bit replica number (1 to 6, which is
// how scans find where identifiers start) and a 48-bit counter stored big-endian.
using EntryId = std::array<uint8_t, 8>;

EntryId MakeEntryId(uint16_t replica, uint64_t counter);
bool IsUnset(const EntryId& id);

// The id as one number, for hash maps.
inline uint64_t EntryIdKey(const EntryId& id) {
    uint64_t key = 0;
    for (uint8_t byte : id) {
        key = (key << 8) | byte;
    }
    return key;
}

// Upper-case hexadecimal text of the bytes, as readers render identifiers.
std::string HexText(const EntryId& id);

// Name of a folder's own message table, from the hexadecimal text of its id: drop the first
// character, drop the zeros (at most 15) after the new first character, and put a hyphen
// after it. "0100000000000012" gives "1-12".
std::string FolderTableName(const std::string& folderIdText);

}  // namespace velmor::testdb
