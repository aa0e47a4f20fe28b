#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace velmor::testdb {

// Object ids of a composed store. The defaults of the three store tables are also the ids
// readers assume when the catalog does not name them.
struct StoreOptions {
    int32_t mailboxTableObjectId = 21;
    int32_t foldersTableObjectId = 8;
    int32_t msgTableObjectId = 19;
    int32_t msgLongValueObjectId = 22;
    int32_t firstFolderTableObjectId = 100;
    // Per-folder message tables are made from this template; its name follows the table's
    // name in the catalog record. It starts with a letter that is no hexadecimal digit, so no
    // table's name can reach into it. Empty: no template.
    std::string folderTableTemplate = "MsgFolderTemplate";
    // The header's highest object id. By default the highest id used, with empty pages added
    // when the file would otherwise have too few pages for readers to believe it.
    std::optional<int32_t> highestObjectId;
};

}  // namespace velmor::testdb
