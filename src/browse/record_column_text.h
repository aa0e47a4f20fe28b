#pragma once

#include <cstdint>
#include <string>

#include "discovery/processing_context.h"

namespace velmor {

// The text of one tagged column of a message record, looked up by item id through the
// message index: the first non-empty text found in the records of that id, in index order.
// Empty when none has it, a read fails or a stop is seen; a column id of 0 (not found in the
// catalog) never matches.
std::u16string ReadRecordColumnText(ProcessingContext& context, const std::u16string& itemId,
                                    int32_t column);

}  // namespace velmor
