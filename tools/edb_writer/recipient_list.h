#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "edb_writer/stored_text.h"

namespace velmor::testdb {

struct Recipient {
    std::string name;
    TextEncoding encoding = TextEncoding::Utf16;
};

// A recipient list value: one entry per recipient, each starting with the 16-bit value 0x04E4
// and its length byte. A UTF-16 name starts 6 bytes into its entry; an 8-bit name is tagged
// with the address type 'E' at byte 6 and starts at byte 8. Names end with a zero character.
std::vector<uint8_t> EncodeRecipientList(std::span<const Recipient> recipients);

}  // namespace velmor::testdb
