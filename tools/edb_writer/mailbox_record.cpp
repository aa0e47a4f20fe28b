#include "edb_writer/mailbox_record.h"

#include <stdexcept>

#include "edb_writer/byte_writer.h"
#include "edb_writer/store_columns.h"
#include "edb_writer/tagged_directory_writer.h"

namespace velmor::testdb {

namespace {

constexpr uint32_t kMarker = 0xFFFFFFFF;

}  // namespace

std::vector<uint8_t> EncodeMailboxRecord(const MailboxRecord& record) {
    const uint16_t distance =
        record.directoryDistance.value_or(static_cast<uint16_t>(record.key.size()));
    if (distance != 0 && distance < record.key.size()) {
        throw std::invalid_argument("the mailbox entries would overlap the key");
    }
    ByteWriter writer;
    writer.U32(kMarker);
    writer.PadTo(kMailboxKeyLengthOffset);
    writer.U16(record.keyLengthField.value_or(static_cast<uint16_t>(record.key.size())));
    if (record.runWords.empty()) {
        writer.U16(distance);
    }
    for (uint16_t word : record.runWords) {
        writer.U16(word);
    }
    const size_t keyStart = writer.size();
    if (distance != 0) {
        writer.Bytes(record.key);
    }
    writer.PadTo(keyStart + distance);

    const TaggedValue values[] = {
        {fixed_column::kMailboxMarker, record.column256, record.valueHeader, record.offsetFlags},
        {fixed_column::kMailboxDisplayName, record.displayName, record.valueHeader,
         record.offsetFlags},
    };
    // Only the two entries and the next one's offset are read: the data follows them directly.
    const DirectoryLayout layout{.sortColumns = false,
                                 .terminator = true,
                                 .dataStart = 0,
                                 .terminatorFlags = record.offsetFlags};
    AppendTaggedDirectory(writer, values, layout);
    return writer.Take();
}

}  // namespace velmor::testdb
