#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "edb_writer/byte_writer.h"

namespace velmor::testdb {

// One tagged column: its id, its data, and the header byte stored in front of the data.
struct TaggedValue {
    uint16_t column = 0;
    std::vector<uint8_t> data;
    uint8_t header = 0;
    uint8_t offsetFlags = 0;  // stored in the upper 4 bits of the entry's offset
};

// Readers walk a fixed number of entries (up to 80) and need the next entry's offset to end
// a value, so by default the entries are sorted, closed by a terminator entry (column 0,
// offset = end of the data), and the data starts 320 bytes (80 entries) after the directory.
struct DirectoryLayout {
    bool sortColumns = true;
    bool terminator = true;
    int64_t dataStart = 320;  // from the directory start; at least the entries' size is used
    uint8_t terminatorFlags = 0;
};

inline constexpr int64_t kTaggedEntrySize = 4;

// The directory and its data, starting at the directory: entry k holds the column id and the
// offset of the value's header byte, counted from the directory start.
std::vector<uint8_t> EncodeTaggedDirectory(std::span<const TaggedValue> values,
                                           const DirectoryLayout& layout = {});

// The same, appended to a record being built; offsets count from where the directory starts.
void AppendTaggedDirectory(ByteWriter& writer, std::span<const TaggedValue> values,
                           const DirectoryLayout& layout = {});

}  // namespace velmor::testdb
