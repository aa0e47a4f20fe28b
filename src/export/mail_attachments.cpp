#include "export/mail_attachments.h"

#include "export/attachment_file_name.h"
#include "streaming/mime_summary.h"

namespace velmor {

std::vector<MailAttachment> ReadMailAttachments(std::string_view mime) {
    std::vector<MailAttachment> attachments;
    const std::vector<MimeAttachment> listedAttachments = ReadMimeAttachments(mime);
    for (size_t i = 0; i < listedAttachments.size(); ++i) {
        std::optional<std::string> content = AttachmentContent(mime, i);
        if (!content) {
            continue;
        }
        const MimeAttachment& listed = listedAttachments[i];
        attachments.push_back(
            {AttachmentFileName(listed.name, i), listed.type, std::move(*content)});
    }
    return attachments;
}

}  // namespace velmor
