#include "search/mime_search_fields.h"

#include "edb/text_codec.h"
#include "search/html_text.h"

namespace velmor {

std::u16string MimeBodyWords(const MimeBody& body) {
    if (body.text) {
        return Utf8ToUtf16(*body.text);
    }
    return body.html ? HtmlToText(Utf8ToUtf16(*body.html)) : std::u16string();
}

std::vector<std::u16string> MimeAttachmentNames(std::string_view bytes) {
    std::vector<std::u16string> names;
    for (const MimeAttachment& attachment : ReadMimeAttachments(bytes)) {
        if (!attachment.name.empty()) {
            names.push_back(Utf8ToUtf16(attachment.name));
        }
    }
    return names;
}

}  // namespace velmor
