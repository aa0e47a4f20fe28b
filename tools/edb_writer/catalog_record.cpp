#include "edb_writer/catalog_record.h"

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

namespace {

struct NodeForm {
    std::array<uint8_t, 4> bytes;
    int64_t fixedColumnsOffset;
};

constexpr std::array<NodeForm, 7> kNodeForms = {{
    {{0x04, 0x00, 0x09, 0x00}, 17},
    {{0x07, 0x00, 0x06, 0x00}, 14},
    {{0x0C, 0x00, 0x01, 0x00}, 9},
    {{0x0D, 0x00, 0x00, 0x00}, 8},
    {{0x0B, 0x00, 0x02, 0x00}, 10},
    {{0x0D, 0x00, 0x7F, 0x80}, 19},
    {{0x03, 0x00, 0x0A, 0x00}, 18},
}};

// The record header before q: last fixed column id, last variable column id, and the offset
// of the variable-column offset array.
constexpr int64_t kRecordHeaderSize = 4;
constexpr uint8_t kLastFixedColumn = 12;
constexpr uint8_t kFirstVariableColumn = 128;
constexpr int64_t kFixedColumnsSize = 28;
// Space usage, flags and pages-or-locale lie between the root page and the root marker.
constexpr size_t kUnreadFixedColumnsSize = 12;
constexpr uint16_t kDefaultOffsetArrayField = kRecordHeaderSize + kFixedColumnsSize;
constexpr uint16_t kEmptyColumnFlag = 0x8000;

constexpr std::string_view kLongValueName = "LV";

const NodeForm& FormOf(CatalogNodeForm form) {
    return kNodeForms[static_cast<size_t>(form)];
}

std::vector<uint16_t> EndOffsets(const CatalogRecord& record) {
    std::vector<uint16_t> ends;
    uint16_t end = 0;
    for (const std::vector<uint8_t>& column : record.variableColumns) {
        if (column.empty()) {
            ends.push_back(end | kEmptyColumnFlag);
            continue;
        }
        end = static_cast<uint16_t>(end + column.size());
        ends.push_back(end);
    }
    return ends;
}

}  // namespace

int64_t CatalogFixedColumnsOffset(CatalogNodeForm form) {
    return FormOf(form).fixedColumnsOffset;
}

std::vector<uint8_t> EncodeCatalogRecord(const CatalogRecord& record) {
    const NodeForm& form = FormOf(record.form);
    ByteWriter writer;
    writer.Bytes(form.bytes);
    // The node's key bytes are never read; zeros cannot be mistaken for a node start.
    writer.Zeros(
        static_cast<size_t>(form.fixedColumnsOffset - form.bytes.size() - kRecordHeaderSize));
    writer.U8(kLastFixedColumn);
    writer.U8(static_cast<uint8_t>(kFirstVariableColumn + record.variableColumns.size() - 1));
    writer.U16(record.offsetArrayField.value_or(kDefaultOffsetArrayField));

    writer.U32(static_cast<uint32_t>(record.tableObjectId));
    writer.U16(static_cast<uint16_t>(record.type));
    writer.U32(static_cast<uint32_t>(record.id));
    writer.U32(static_cast<uint32_t>(record.typeOrRootPage));
    writer.Zeros(kUnreadFixedColumnsSize);
    writer.U16(record.rootMarker);

    for (uint16_t end : record.endOffsets.value_or(EndOffsets(record))) {
        writer.U16(end);
    }
    for (const std::vector<uint8_t>& column : record.variableColumns) {
        writer.Bytes(column);
    }
    return writer.Take();
}

std::vector<uint8_t> CatalogName(std::string_view name) {
    return {name.begin(), name.end()};
}

CatalogRecord TableRecord(int32_t objectId, std::string_view name, int32_t rootPage) {
    CatalogRecord record;
    record.tableObjectId = objectId;
    record.type = CatalogType::Table;
    record.id = objectId;
    record.typeOrRootPage = rootPage;
    record.rootMarker = kTableRootMarker;
    record.variableColumns = {CatalogName(name)};
    return record;
}

CatalogRecord ColumnRecord(int32_t tableObjectId, int32_t columnId, std::string_view name,
                           int32_t columnType) {
    CatalogRecord record;
    record.tableObjectId = tableObjectId;
    record.type = CatalogType::Column;
    record.id = columnId;
    record.typeOrRootPage = columnType;
    record.variableColumns = {CatalogName(name)};
    return record;
}

CatalogRecord LongValueRecord(int32_t tableObjectId, int32_t longValueObjectId, int32_t rootPage) {
    CatalogRecord record;
    record.tableObjectId = tableObjectId;
    record.type = CatalogType::LongValue;
    record.id = longValueObjectId;
    record.typeOrRootPage = rootPage;
    record.variableColumns = {CatalogName(kLongValueName)};
    return record;
}

}  // namespace velmor::testdb
