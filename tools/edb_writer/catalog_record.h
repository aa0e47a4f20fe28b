#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velmor::testdb {

// The leaf-node forms a catalog record is recognised by: the four bytes at the record's node
// start (mostly the shared and the own key length) and the distance from there to the first
// fixed column, q.
enum class CatalogNodeForm {
    Shared4Own9,      // 04 00 09 00, q = start + 17
    Shared7Own6,      // 07 00 06 00, q = start + 14
    Shared12Own1,     // 0C 00 01 00, q = start + 9
    Shared13Own0,     // 0D 00 00 00, q = start + 8
    Shared11Own2,     // 0B 00 02 00, q = start + 10
    Shared13Flagged,  // 0D 00 7F 80, q = start + 19
    Shared3Own10,     // 03 00 0A 00, q = start + 18
};

inline constexpr std::array<CatalogNodeForm, 7> kCatalogNodeForms = {
    CatalogNodeForm::Shared4Own9,  CatalogNodeForm::Shared7Own6,  CatalogNodeForm::Shared12Own1,
    CatalogNodeForm::Shared13Own0, CatalogNodeForm::Shared11Own2, CatalogNodeForm::Shared13Flagged,
    CatalogNodeForm::Shared3Own10};

// Distance from the node start to q, the record's first fixed column.
int64_t CatalogFixedColumnsOffset(CatalogNodeForm form);

// Catalog object types.
enum class CatalogType : uint16_t { Table = 1, Column = 2, Index = 3, LongValue = 4 };

inline constexpr uint16_t kTableRootMarker = 255;

// One catalog record. Fixed columns, relative to q: table object id (q), type (q + 4), id
// (q + 6), column type or root page (q + 10), root marker (q + 26). The variable columns
// follow the 28 fixed bytes: an offset array of end offsets, then the data.
struct CatalogRecord {
    CatalogNodeForm form = CatalogNodeForm::Shared4Own9;
    int32_t tableObjectId = 0;
    CatalogType type = CatalogType::Table;
    int32_t id = 0;
    int32_t typeOrRootPage = 0;
    uint16_t rootMarker = 0;
    // The name first, then further variable columns (a template name, ...); an empty column
    // is stored as an offset-array entry equal to the previous end plus 0x8000.
    std::vector<std::vector<uint8_t>> variableColumns;
    // Raw values for damaged records: the offset-array offset v (normally 32, counted from the
    // record header at q - 4) and the offset array itself.
    std::optional<uint16_t> offsetArrayField;
    std::optional<std::vector<uint16_t>> endOffsets;
};

std::vector<uint8_t> EncodeCatalogRecord(const CatalogRecord& record);

// Byte text of a name (catalog names are 8-bit text).
std::vector<uint8_t> CatalogName(std::string_view name);

CatalogRecord TableRecord(int32_t objectId, std::string_view name, int32_t rootPage);
CatalogRecord ColumnRecord(int32_t tableObjectId, int32_t columnId, std::string_view name,
                           int32_t columnType);
CatalogRecord LongValueRecord(int32_t tableObjectId, int32_t longValueObjectId, int32_t rootPage);

}  // namespace velmor::testdb
