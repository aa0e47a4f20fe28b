#pragma once

#include <string>

#include "discovery/processing_context.h"
#include "streaming/carved_message_matcher.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// What the message records of the item id give for matching, with the sent time of its
// index entry.
MailMatchKeys ReadMailMatchKeys(ProcessingContext& context, const std::u16string& itemId,
                                uint64_t fileTime);

// Matches every mail of the store's message index to its original among the carved messages
// and takes the matched ones out of messages(): one pass over the mails, each read once, and
// none when nothing was carved.
void MatchStoreMails(ProcessingContext& context, RecoveredMessages& messages);

}  // namespace velmor
