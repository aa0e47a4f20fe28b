#pragma once

#include <string>
#include <vector>

#include "browse/long_value_recipients.h"
#include "discovery/processing_context.h"
#include "items/tied_mail_text.h"

namespace velmor {

// The texts of a mail that the folder scan does not decode, read from its message record.
struct MailDetails {
    std::u16string sender;
    std::vector<std::u16string> recipients;  // names, in stored order
    bool marker = false;                     // the record carries a marker column value
    std::u16string subjectFallback;
};

// Reads sender, subject fallback and marker (and, for sent items and outbox mails, the
// recipients) from the message records of the item id, in index order, until the text that
// the folder needs is found. A stop or a failed read ends it with an empty sender; what was
// set before stays. A sender or subject both readings allow takes the form its folder's column
// settled on (columnForms), else the store's.
MailDetails ReadMailDetails(ProcessingContext& context, const std::u16string& itemId,
                            bool sentOrOutbox, LongValueRecipients& outOfLine,
                            const SettledMailForms& columnForms = {});

}  // namespace velmor
