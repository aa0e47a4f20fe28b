#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "discovery/processing_context.h"
#include "edb/page_view.h"

namespace velmor {

// The message record's own columns of subject and sender name, as the mail list reads them.
inline constexpr uint16_t kRecordSubjectColumn = 0x14B;
inline constexpr uint16_t kRecordSenderColumn = 0x100;
inline constexpr uint16_t kRecordSenderAltColumn = 0x101;

// Hands each record block of the item id to read, in the message index's order, until a stop
// is seen. A record at a position the file cannot hold, or whose block cannot be read, is
// passed over.
void ForEachReadableMessageRecord(ProcessingContext& context, const std::u16string& itemId,
                                  const std::function<void(const PageView& block)>& read);

}  // namespace velmor
