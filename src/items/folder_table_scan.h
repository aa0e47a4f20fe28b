#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// Processing part 6: finds the folder records on the Folders table's pages and appends one
// folder entry per record (id, parent id, container class, display name).
void ScanFolderTable(ProcessingContext& context);

// The folder records on one page, appended to folders.
void ScanFolderPage(const PageView& page, int32_t containerClassColumn,
                    std::vector<FolderEntry>& folders);

}  // namespace velmor
