#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// The store-clearing worker (Back from the mailbox step): deletes the mailbox rows, empties
// the store and its folder view list, closes the database and enables Next again. The front
// end forgets its store-clearing job when this returns.
void ClearStore(ProcessingContext& context);

}  // namespace velmor
