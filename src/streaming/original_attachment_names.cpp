#include "streaming/original_attachment_names.h"

#include "edb/text_codec.h"

namespace velmor {

std::vector<std::u16string> OriginalAttachmentNames(const RecoveredMessages& messages,
                                                    const std::u16string& itemId) {
    std::vector<std::u16string> names;
    if (const RecoveredMessage* original = messages.MatchedMessage(itemId)) {
        for (const MimeAttachment& attachment : original->summary.attachments) {
            if (!attachment.name.empty()) {
                names.push_back(Utf8ToUtf16(attachment.name));
            }
        }
    }
    return names;
}

}  // namespace velmor
