#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "streaming/mime_summary.h"

namespace velmor {

// The words of a MIME message's body as the message window shows it: the text part, else the
// HTML part's text.
std::u16string MimeBodyWords(const MimeBody& body);

// The names of a MIME message's attachments, those that have one.
std::vector<std::u16string> MimeAttachmentNames(std::string_view bytes);

}  // namespace velmor
