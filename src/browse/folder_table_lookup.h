#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "discovery/recovered_store.h"

namespace velmor {

// Answers FindFolderTable for many table names with one walk of the catalog instead of one
// walk per folder. Every table name made from a folder id has its only hyphen as its second
// character, so an occurrence inside a catalog name starts one character before one of that
// name's hyphens; the walk tries those starts only. Other names fall back to the plain walk.
class FolderTableLookup {
public:
    FolderTableLookup(const std::vector<CatalogEntry>& catalog,
                      const std::vector<std::u16string>& tableNames);

    // The same answer as FindFolderTable(catalog, tableName).
    int32_t FindFolderTable(const std::u16string& tableName) const;

private:
    struct Answer {
        int32_t tableObjectId = 0;
        bool found = false;
    };

    const std::vector<CatalogEntry>& catalog_;
    std::unordered_map<std::u16string, Answer> answers_;
};

}  // namespace velmor
