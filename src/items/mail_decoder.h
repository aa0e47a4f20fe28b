#pragma once

#include <cstdint>

#include "discovery/schema_ids.h"
#include "edb/page_view.h"
#include "items/item_records.h"

namespace velmor {

// Decodes the mail record that starts at position R (the item time) of a folder table page:
// date, subject and its prefix, sender, recipient text and item kind. Leaves position after
// the directory entries it consumed.
void DecodeMailRecord(const PageView& page, int64_t& position, CMailItem& mail,
                      const SchemaIds& schema);

}  // namespace velmor
