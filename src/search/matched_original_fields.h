#pragma once

#include "search/search_fields.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// A mail of the store that a message of the streaming file matched shows that original's
// body and attachments: its fields take the body and the attachment names from there too,
// and it has attachments when the original has. False, with the fields unchanged, when the
// mail has no original or its bytes cannot be read.
bool TakeMatchedOriginal(RecoveredMessages& messages, SearchFields& fields);

}  // namespace velmor
