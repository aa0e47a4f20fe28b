#pragma once

#include "discovery/processing_context.h"
#include "search/index_shards.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// Adds every message of the streaming file's entry to the index, as the entry's one mail
// folder lists them: each is found at its row of that folder, with its sender, recipients,
// subject, date, body and attachment names. The item progress bar counts the messages.
// False when a stop ended the build; the index is then partial. Call index.Finish() after.
bool BuildStreamingEntryIndex(ProcessingContext& context, RecoveredMessages& messages,
                              IndexShards& index);

}  // namespace velmor
