#include "edb_writer/message_record.h"

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

constexpr size_t kMessageItemIdOffset = kMessageDirectoryOffset - 24;

}  // namespace

std::vector<uint8_t> EncodeMessageRecord(const MessageRecord& record) {
    ByteWriter writer(kTypicalRecordSize);
    writer.U64(record.time);
    writer.PadTo(kMessageItemIdOffset);
    writer.Bytes(record.itemId);
    writer.PadTo(kMessageDirectoryOffset);
    AppendTaggedDirectory(writer, record.values, record.layout);
    return writer.Take();
}

}  // namespace velmor::testdb
