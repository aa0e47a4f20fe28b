#pragma once

#include <cstdint>
#include <optional>
#include <unordered_map>

#include "discovery/page_groups.h"
#include "edb/database_format.h"
#include "edb/edb_file.h"
#include "edb/long_value_assembly.h"
#include "edb/long_value_index.h"

namespace velmor {

// The long values of one database. The index of a long-value object is built the first time a
// value of it is asked for, in one pass over the pages that the page grouping attributed to
// the object, and kept until the store is reset.
class LongValueStore {
public:
    // Value id of long-value object objectId; nothing when the object has no such value.
    std::optional<LongValue> Read(EdbFile& file, PageGroupList& groups, int32_t objectId,
                                  uint32_t id);

    // The index of the object, built now if it was not yet.
    const LongValueIndex& IndexOf(EdbFile& file, PageGroupList& groups, int32_t objectId);

    void Clear();

private:
    std::optional<DatabaseFormat> format_;
    std::unordered_map<int32_t, LongValueIndex> indexes_;
};

}  // namespace velmor
