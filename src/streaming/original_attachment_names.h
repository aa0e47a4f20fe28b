#pragma once

#include <string>
#include <vector>

#include "streaming/recovered_messages.h"

namespace velmor {

// The names of the attachments of the mail's original in the streaming file, those that have
// one; none when the mail has no original or its bytes cannot be read again.
std::vector<std::u16string> OriginalAttachmentNames(RecoveredMessages& messages,
                                                    const std::u16string& itemId);

}  // namespace velmor
