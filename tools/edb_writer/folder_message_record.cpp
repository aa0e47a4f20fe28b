#include "edb_writer/folder_message_record.h"

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

constexpr size_t kFolderIdOffset = kFolderMessageDirectoryOffset - 32;
constexpr size_t kFolderMessageItemIdOffset = kFolderMessageDirectoryOffset - 16;

}  // namespace

std::vector<uint8_t> EncodeFolderMessageRecord(const FolderMessageRecord& record) {
    ByteWriter writer(kTypicalRecordSize);
    writer.U64(record.time);
    writer.PadTo(kFolderIdOffset);
    writer.Bytes(record.folderId);
    writer.PadTo(kFolderMessageItemIdOffset);
    writer.Bytes(record.itemId);
    writer.PadTo(kFolderMessageDirectoryOffset);
    AppendTaggedDirectory(writer, record.values, record.layout);
    return writer.Take();
}

}  // namespace velmor::testdb
