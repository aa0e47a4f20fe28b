#include "edb_writer/folder_record.h"

#include <algorithm>
#include <stdexcept>

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

constexpr uint8_t kLongHeader[] = {0x0F, 0x00, 0xC0};
constexpr uint8_t kLongFlaggedHeader[] = {0x0F, 0xFF, 0xC0};
constexpr uint32_t kShortHeader = 0x00100008;
constexpr size_t kLongFormSearchOffset = 64;
constexpr uint16_t kIdsSize = 24;

uint16_t DirectoryDistance(const FolderRecord& record) {
    const uint16_t distance = record.directoryDistance.value_or(kIdsSize);
    if (distance < kIdsSize) {
        throw std::invalid_argument("a folder's tagged directory would overlap its identifiers");
    }
    return distance;
}

}  // namespace

int64_t FolderDirectoryOffset(const FolderRecord& record) {
    const size_t searchStart =
        record.form == FolderHeaderForm::Short ? sizeof kShortHeader : kLongFormSearchOffset;
    const size_t runWords = std::max<size_t>(1, record.runWords.size());
    return static_cast<int64_t>(searchStart + 2 * runWords + DirectoryDistance(record));
}

std::vector<uint8_t> EncodeFolderRecord(const FolderRecord& record) {
    const uint16_t distance = DirectoryDistance(record);
    ByteWriter writer;
    switch (record.form) {
        case FolderHeaderForm::Long:
            writer.Bytes(kLongHeader);
            writer.PadTo(kLongFormSearchOffset);
            break;
        case FolderHeaderForm::LongFlagged:
            writer.Bytes(kLongFlaggedHeader);
            writer.PadTo(kLongFormSearchOffset);
            break;
        case FolderHeaderForm::Short:
            writer.U32(kShortHeader);
            break;
    }
    if (record.runWords.empty()) {
        writer.U16(distance);
    }
    for (uint16_t word : record.runWords) {
        writer.U16(word);
    }
    const size_t idStart = writer.size();
    writer.Bytes(record.folderId);
    writer.Bytes(record.parentId);
    writer.Bytes(record.furtherId);
    writer.PadTo(idStart + distance);
    AppendTaggedDirectory(writer, record.values, record.layout);
    return writer.Take();
}

}  // namespace velmor::testdb
