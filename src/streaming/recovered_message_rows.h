#pragma once

#include <optional>
#include <string>
#include <vector>

#include "browse/message_content.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// The columns of the streaming entry's mail folder, as every front end lists it.
std::vector<std::u16string> RecoveredListHeadings();
// The cells of message as row number row (from 1): number, From, Subject, Date/Time, the
// attachment count and "complete" or "incomplete: " with the reason.
std::vector<std::u16string> RecoveredListCells(size_t row, const RecoveredMessage& message);

// What the message window shows of message index, read again from the streaming file; the
// note says where it came from and, when it is incomplete, why. Nothing when its bytes
// cannot be read.
std::optional<MessageContent> RecoveredMessageContent(RecoveredMessages& messages, size_t index);

}  // namespace velmor
