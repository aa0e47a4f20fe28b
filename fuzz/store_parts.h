#pragma once

#include "discovery/catalog_scan.h"
#include "discovery/page_grouping.h"
#include "discovery/schema_resolution.h"
#include "items/message_index_scan.h"

namespace velmor::fuzz {

// The processing parts that the item scanners and record readers stand on: page groups, the
// catalog, the schema and the message index.
inline void RunIndexingParts(ProcessingContext& context) {
    GroupPagesByObject(context);
    ScanCatalog(context);
    ResolveSchema(context);
    BuildMessageIndex(context);
}

}  // namespace velmor::fuzz
