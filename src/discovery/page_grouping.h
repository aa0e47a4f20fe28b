#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// Processing part 1: reads the whole file in 64 KiB chunks, on every core, and groups every page by
// the object id in its header; also fixes the file's highest genuine object id.
void GroupPagesByObject(ProcessingContext& context);

}  // namespace velmor
