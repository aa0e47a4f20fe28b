#include "export/mail_attachments.h"

#include "export/attachment_file_name.h"
#include "streaming/mime_summary.h"

namespace velmor {

std::vector<MailAttachment> ReadMailAttachments(std::string_view mime) {
    std::vector<MailAttachment> attachments;
    const std::vector<MimeAttachment> listedAttachments = ReadMimeAttachments(mime);
    std::vector<std::optional<std::string>> contents = AttachmentContents(mime);
    for (size_t i = 0; i < listedAttachments.size() && i < contents.size(); ++i) {
        std::optional<std::string>& content = contents[i];
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
