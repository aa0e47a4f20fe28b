#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// One attachment of a mail as the exports write it, texts in UTF-8.
struct MailAttachment {
    std::string fileName;  // as AttachmentFileName gives it
    std::string mimeType;  // "image/png"
    std::string content;   // decoded
};

// The attachments of a mail's MIME original, in the order the message window lists them. An
// attachment whose content cannot be decoded is left out.
std::vector<MailAttachment> ReadMailAttachments(std::string_view mime);

}  // namespace velmor
