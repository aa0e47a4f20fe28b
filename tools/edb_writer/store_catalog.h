#pragma once

#include <cstdint>
#include <vector>

#include "edb_writer/catalog_record.h"
#include "edb_writer/entry_id.h"
#include "edb_writer/store_options.h"

namespace velmor::testdb {

// First pages of the store's trees, as the catalog records them (0 for a tree without pages).
struct StoreRootPages {
    int32_t msg = 0;
    int32_t msgLongValues = 0;
    int32_t folders = 0;
    int32_t mailbox = 0;
};

// Catalog records of the "Msg", "Folders" and "Mailbox" tables, their named columns and the
// message table's long-value tree ("LV").
std::vector<CatalogRecord> StoreTableRecords(const StoreOptions& options,
                                             const StoreRootPages& roots);

// The table record of a folder's own message table, named after the folder's id.
CatalogRecord FolderTableRecord(const StoreOptions& options, const EntryId& folderId,
                                int32_t objectId, int32_t rootPage);

// Readers find a folder's table as the first record whose name contains the table's name, so
// records whose names are contained in others' go first: orders by name length (stably), then
// gives the records the seven node forms in turn.
void ArrangeCatalog(std::vector<CatalogRecord>& storeTables,
                    std::vector<CatalogRecord> folderTables);

}  // namespace velmor::testdb
