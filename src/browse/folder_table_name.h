#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "discovery/recovered_store.h"

namespace velmor {

// The name of a folder's own message table, from its folder id text: the first character is
// dropped, then the zeros that follow the new first character (at most 15), and a hyphen goes
// after the first character, so 01012 gives 1-12. Empty for an empty id.
std::u16string FolderTableName(const std::u16string& folderId);

// The table object id of the first catalog entry whose name contains the table name; 0 when
// none does.
int32_t FindFolderTable(const std::vector<CatalogEntry>& catalog, const std::u16string& tableName);

}  // namespace velmor
