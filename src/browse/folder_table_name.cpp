#include "browse/folder_table_name.h"

#include <algorithm>

#include "edb/text_contains.h"

namespace velmor {

namespace {

constexpr size_t kMostDroppedZeros = 15;
constexpr char16_t kTableNameHyphen = u'-';

}  // namespace

std::u16string FolderTableName(const std::u16string& folderId) {
    if (folderId.empty()) {
        return {};
    }
    std::u16string name = folderId.substr(1);
    size_t zeros = 0;
    while (zeros < kMostDroppedZeros && 1 + zeros < name.size() && name[1 + zeros] == u'0') {
        ++zeros;
    }
    name.erase(std::min<size_t>(1, name.size()), zeros);
    name.insert(std::min<size_t>(1, name.size()), 1, kTableNameHyphen);
    return name;
}

int32_t FindFolderTable(const std::vector<CatalogEntry>& catalog, const std::u16string& tableName) {
    for (const CatalogEntry& entry : catalog) {
        if (Contains(entry.name, tableName)) {
            return entry.tableObjectId;
        }
    }
    return 0;
}

}  // namespace velmor
