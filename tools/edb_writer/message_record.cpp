#include "edb_writer/message_record.h"

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

constexpr size_t kItemIdOffset = kMessageDirectoryOffset - 24;

// Directory, padding and a few values: one allocation for most records.
constexpr size_t kTypicalRecordSize = 1024;

}  // namespace

std::vector<uint8_t> EncodeMessageRecord(const MessageRecord& record) {
    ByteWriter writer(kTypicalRecordSize);
    writer.U64(record.time);
    writer.PadTo(kItemIdOffset);
    writer.Bytes(record.itemId);
    writer.PadTo(kMessageDirectoryOffset);
    AppendTaggedDirectory(writer, record.values, record.layout);
    return writer.Take();
}

}  // namespace velmor::testdb
