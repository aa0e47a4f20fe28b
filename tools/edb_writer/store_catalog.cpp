#include "edb_writer/store_catalog.h"

#include <algorithm>

#include "edb_writer/store_columns.h"

namespace velmor::testdb {

namespace {

// Column types of the catalog: 32-bit integer, long binary, long text.
constexpr int32_t kLongType = 4;
constexpr int32_t kLongBinaryType = 11;
constexpr int32_t kLongTextType = 12;

constexpr std::string_view kMsgTableName = "Msg";
constexpr std::string_view kFoldersTableName = "Folders";
constexpr std::string_view kMailboxTableName = "Mailbox";
constexpr std::string_view kDisplayNameColumnName = "S3001";
constexpr std::string_view kContainerClassColumnName = "S3613";

int32_t ColumnType(std::string_view name) {
    switch (name.front()) {
        case 'L':
            return kLongType;
        case 'N':
            return kLongBinaryType;
        default:
            return kLongTextType;
    }
}

size_t NameLength(const CatalogRecord& record) {
    return record.variableColumns.empty() ? 0 : record.variableColumns.front().size();
}

}  // namespace

std::vector<CatalogRecord> StoreTableRecords(const StoreOptions& options,
                                             const StoreRootPages& roots) {
    std::vector<CatalogRecord> records;
    records.push_back(TableRecord(options.msgTableObjectId, kMsgTableName, roots.msg));
    for (size_t c = 0; c < kMessageColumnNames.size(); ++c) {
        const std::string_view name = kMessageColumnNames[c];
        records.push_back(ColumnRecord(options.msgTableObjectId,
                                       MessageColumnId(static_cast<MessageColumn>(c)), name,
                                       ColumnType(name)));
    }
    records.push_back(LongValueRecord(options.msgTableObjectId, options.msgLongValueObjectId,
                                      roots.msgLongValues));

    records.push_back(TableRecord(options.foldersTableObjectId, kFoldersTableName, roots.folders));
    records.push_back(ColumnRecord(options.foldersTableObjectId, fixed_column::kFolderDisplayName,
                                   kDisplayNameColumnName, kLongTextType));
    records.push_back(ColumnRecord(options.foldersTableObjectId, kContainerClassColumnId,
                                   kContainerClassColumnName, kLongTextType));

    records.push_back(TableRecord(options.mailboxTableObjectId, kMailboxTableName, roots.mailbox));
    records.push_back(ColumnRecord(options.mailboxTableObjectId, fixed_column::kMailboxDisplayName,
                                   kDisplayNameColumnName, kLongTextType));
    return records;
}

CatalogRecord FolderTableRecord(const StoreOptions& options, const EntryId& folderId,
                                int32_t objectId, int32_t rootPage) {
    CatalogRecord record = TableRecord(objectId, FolderTableName(HexText(folderId)), rootPage);
    if (!options.folderTableTemplate.empty()) {
        // The statistics column stays empty; the template's name is the third variable column.
        record.variableColumns.emplace_back();
        record.variableColumns.push_back(CatalogName(options.folderTableTemplate));
    }
    return record;
}

void ArrangeCatalog(std::vector<CatalogRecord>& storeTables,
                    std::vector<CatalogRecord> folderTables) {
    std::stable_sort(folderTables.begin(), folderTables.end(),
                     [](const CatalogRecord& a, const CatalogRecord& b) {
                         return NameLength(a) < NameLength(b);
                     });
    storeTables.insert(storeTables.end(), std::make_move_iterator(folderTables.begin()),
                       std::make_move_iterator(folderTables.end()));
    for (size_t i = 0; i < storeTables.size(); ++i) {
        storeTables[i].form = kCatalogNodeForms[i % kCatalogNodeForms.size()];
    }
}

}  // namespace velmor::testdb
