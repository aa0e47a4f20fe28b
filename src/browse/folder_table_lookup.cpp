#include "browse/folder_table_lookup.h"

#include <set>

#include "browse/folder_table_name.h"

namespace velmor {

namespace {

constexpr char16_t kHyphen = u'-';
constexpr size_t kHyphenPosition = 1;

// A name whose only hyphen is its second character.
bool HasTableNameShape(const std::u16string& name) {
    return name.size() > kHyphenPosition && name[kHyphenPosition] == kHyphen &&
           name.find(kHyphen, kHyphenPosition + 1) == std::u16string::npos;
}

}  // namespace

FolderTableLookup::FolderTableLookup(const std::vector<CatalogEntry>& catalog,
                                     const std::vector<std::u16string>& tableNames)
    : catalog_(catalog) {
    std::set<size_t> lengths;
    for (const std::u16string& name : tableNames) {
        if (HasTableNameShape(name) && answers_.try_emplace(name).second) {
            lengths.insert(name.size());
        }
    }
    size_t unanswered = answers_.size();
    for (const CatalogEntry& entry : catalog) {
        if (unanswered == 0) {
            break;
        }
        const std::u16string& text = entry.name;
        for (size_t hyphen = text.find(kHyphen, kHyphenPosition); hyphen != std::u16string::npos;
             hyphen = text.find(kHyphen, hyphen + 1)) {
            const size_t start = hyphen - kHyphenPosition;
            for (size_t length : lengths) {
                if (start + length > text.size()) {
                    break;
                }
                auto it = answers_.find(text.substr(start, length));
                if (it != answers_.end() && !it->second.found) {
                    it->second = Answer{entry.tableObjectId, true};
                    --unanswered;
                }
            }
        }
    }
}

int32_t FolderTableLookup::FindFolderTable(const std::u16string& tableName) const {
    auto it = answers_.find(tableName);
    return it != answers_.end() ? it->second.tableObjectId
                                : velmor::FindFolderTable(catalog_, tableName);
}

}  // namespace velmor
