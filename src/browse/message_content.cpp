#include "browse/message_content.h"

#include "browse/long_value_recipients.h"
#include "browse/mail_details.h"
#include "browse/recipient_list.h"

namespace velmor {

MessageContent ReadMessageContent(ProcessingContext& context, const std::u16string& itemId,
                                  const std::u16string& subject, const std::u16string& date,
                                  std::optional<StoredTextForm> tieForm) {
    MessageContent content;
    content.subject = subject;
    content.date = date;
    LongValueRecipients outOfLine(context);
    // Read as for a sent mail, so that the recipients come with the sender.
    const MailDetails details = ReadMailDetails(context, itemId, true, outOfLine);
    content.from = details.sender;
    content.to = JoinRecipientNames(details.recipients);
    content.body = ReadMailBodyOfItem(context, itemId, tieForm);
    content.details = ReadMessageDetails(context, itemId, details.sender, details.recipients);
    return content;
}

}  // namespace velmor
