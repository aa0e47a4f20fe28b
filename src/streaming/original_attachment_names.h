#pragma once

#include <string>
#include <vector>

#include "streaming/recovered_messages.h"

namespace velmor {

// The names of the attachments of the mail's original in the streaming file, those that have
// one; none when the mail has no original.
std::vector<std::u16string> OriginalAttachmentNames(const RecoveredMessages& messages,
                                                    const std::u16string& itemId);

}  // namespace velmor
