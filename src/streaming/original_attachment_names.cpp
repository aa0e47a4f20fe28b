#include "streaming/original_attachment_names.h"

#include "edb/text_codec.h"
#include "streaming/mime_summary.h"

namespace velmor {

std::vector<std::u16string> OriginalAttachmentNames(RecoveredMessages& messages,
                                                    const std::u16string& itemId) {
    std::vector<std::u16string> names;
    if (const std::optional<std::string> original = messages.MatchedBytes(itemId)) {
        for (const MimeAttachment& attachment : ReadMimeAttachments(*original)) {
            if (!attachment.name.empty()) {
                names.push_back(Utf8ToUtf16(attachment.name));
            }
        }
    }
    return names;
}

}  // namespace velmor
