#include "edb_writer/entry_id.h"

#include <algorithm>

#include "edb_writer/little_endian.h"

namespace velmor::testdb {

namespace {

constexpr int kCounterBytes = 6;
constexpr size_t kMaxStrippedZeros = 15;
constexpr char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

EntryId MakeEntryId(uint16_t replica, uint64_t counter) {
    EntryId id{};
    StoreLe16(id.data(), replica);
    for (int i = 0; i < kCounterBytes; ++i) {
        id[2 + i] = static_cast<uint8_t>(counter >> (8 * (kCounterBytes - 1 - i)));
    }
    return id;
}

bool IsUnset(const EntryId& id) {
    return std::all_of(id.begin(), id.end(), [](uint8_t byte) { return byte == 0; });
}

std::string HexText(const EntryId& id) {
    std::string text;
    for (uint8_t byte : id) {
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

std::string FolderTableName(const std::string& folderIdText) {
    if (folderIdText.empty()) {
        return {};
    }
    std::string name = folderIdText.substr(1);
    size_t zeros = 0;
    while (zeros < kMaxStrippedZeros && 1 + zeros < name.size() && name[1 + zeros] == '0') {
        ++zeros;
    }
    name.erase(1, zeros);
    name.insert(name.begin() + std::min<size_t>(1, name.size()), '-');
    return name;
}

}  // namespace velmor::testdb
