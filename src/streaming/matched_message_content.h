#pragma once

#include <string>

#include "browse/message_content.h"
#include "streaming/recovered_messages.h"

namespace velmor {

inline constexpr char16_t kMatchedOriginalNote[] = u"Body and attachments from the streaming file.";
inline constexpr char16_t kNoTextBody[] = u"This message has no text body; see its attachments.";

// Gives the mail with the item id the body of its original from the streaming file, when
// messages matched it one (a line that says so when it has no text part), and its Internet
// headers when the store keeps none; the note says so and, for an incomplete original, why. False,
// with content unchanged, when it has none or its bytes cannot be read.
bool UseCarvedOriginal(MessageContent& content, RecoveredMessages& messages,
                       const std::u16string& itemId);

}  // namespace velmor
