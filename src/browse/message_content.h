#pragma once

#include <optional>
#include <string>

#include "browse/mail_body.h"
#include "browse/message_details.h"
#include "discovery/processing_context.h"

namespace velmor {

// What the message window and the command line show of one listed mail.
struct MessageContent {
    std::u16string from;
    std::u16string to;
    std::u16string subject;
    std::u16string date;
    MailBody body;
    MessageDetails details;
};

// The mail with the item id: subject and date as its list row shows them, sender and
// recipients, the details and the body from its message records, body text both readings allow
// taking tieForm (FolderTieForm of the folder it was listed in).
MessageContent ReadMessageContent(ProcessingContext& context, const std::u16string& itemId,
                                  const std::u16string& subject, const std::u16string& date,
                                  std::optional<StoredTextForm> tieForm);

}  // namespace velmor
