#pragma once

#include <cstdint>
#include <vector>

#include "edb_writer/entry_id.h"
#include "edb_writer/tagged_directory_writer.h"

namespace velmor::testdb {

// A record of the store's message table ("Msg"), found by the first two entries of its tagged
// directory at M: (256, 257), (257, 259), (259, 271) or (259, 260). The time (a FILETIME) lies
// at M - 53 and the item id at M - 24.
struct MessageRecord {
    uint64_t time = 0;
    EntryId itemId{};
    std::vector<TaggedValue> values;
    DirectoryLayout layout;
};

// Offset of the tagged directory from the record start, which is the time field.
inline constexpr int64_t kMessageDirectoryOffset = 53;

std::vector<uint8_t> EncodeMessageRecord(const MessageRecord& record);

}  // namespace velmor::testdb
