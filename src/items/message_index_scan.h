#pragma once

#include <vector>

#include "discovery/processing_context.h"

namespace velmor {

// Processing part 7: one message-index entry per message record found on the Msg table's
// pages. Returns the first entry, or nullptr when the table has no pages or a stop was asked.
const MessageIndexEntry* BuildMessageIndex(ProcessingContext& context);

// The message records on one page, appended to found in page order.
void FindMessageRecords(const PageView& page, int64_t pageOffset,
                        std::vector<MessageIndexEntry>& found);

}  // namespace velmor
