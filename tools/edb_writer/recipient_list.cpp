#include "edb_writer/recipient_list.h"

#include <algorithm>

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

constexpr uint16_t kEntryMark = 0x04E4;
constexpr size_t kNameOffset = 6;
constexpr uint8_t kAddressTypeTag = 'E';
// The length byte lets a reader skip the entry; a longer entry is walked byte by byte.
constexpr size_t kLongestSkip = 255;

}  // namespace

std::vector<uint8_t> EncodeRecipientList(std::span<const Recipient> recipients) {
    ByteWriter writer;
    for (const Recipient& recipient : recipients) {
        ByteWriter entry;
        entry.U16(kEntryMark);
        entry.PadTo(kNameOffset);
        if (recipient.encoding != TextEncoding::Utf16) {
            entry.U8(kAddressTypeTag);
            entry.U8(0);
        }
        entry.Bytes(EncodeTerminatedText(recipient.name, recipient.encoding));
        std::vector<uint8_t> bytes = entry.Take();
        bytes[2] = static_cast<uint8_t>(std::min(bytes.size() - 1, kLongestSkip));
        writer.Bytes(bytes);
    }
    return writer.Take();
}

}  // namespace velmor::testdb
