#pragma once

#include <cstdint>
#include <vector>

#include "edb_writer/entry_id.h"
#include "edb_writer/tagged_directory_writer.h"

namespace velmor::testdb {

// A record of a folder's own message table, found by its directory at M starting with (256,
// 257) or (257, 259): the time at M - 52 (the record start), the folder id at M - 32 and the
// item id at M - 16.
struct FolderMessageRecord {
    uint64_t time = 0;
    EntryId folderId{};
    EntryId itemId{};
    std::vector<TaggedValue> values;
    DirectoryLayout layout;
};

inline constexpr int64_t kFolderMessageDirectoryOffset = 52;

std::vector<uint8_t> EncodeFolderMessageRecord(const FolderMessageRecord& record);

}  // namespace velmor::testdb
