#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// Processing part 2: finds catalog records on the pages of the catalog (object 2) and its
// shadow copy (object 3) by their leaf-node signatures.
void ScanCatalog(ProcessingContext& context);

// The catalog records on one page, appended to entries.
void ScanCatalogPage(const PageView& page, int32_t maxObjectId, std::vector<CatalogEntry>& entries);

}  // namespace velmor
