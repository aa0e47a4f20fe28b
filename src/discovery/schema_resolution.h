#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// Default table ids used when the catalog does not name the table.
inline constexpr int32_t kDefaultMsgTableId = 19;
inline constexpr int32_t kDefaultFoldersTableId = 8;
inline constexpr int32_t kDefaultMailboxTableId = 21;

// Processing part 3: picks the store's tables and the needed column ids out of the catalog
// entries by name. Reads no page.
void ResolveSchema(ProcessingContext& context);

}  // namespace velmor
