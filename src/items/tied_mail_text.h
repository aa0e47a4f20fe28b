#pragma once

#include <optional>
#include <vector>

#include "edb/stored_text_decoder.h"
#include "items/item_records.h"

namespace velmor {

// The form each column of a folder table settled on: nothing leaves its ties to the store's.
struct SettledMailForms {
    std::optional<StoredTextForm> sender;
    std::optional<StoredTextForm> subject;
};

// One decision per column of a folder table: a sender, subject or recipient names both readings
// allow take the form of their column's certain values; with none of them, or with certain
// values of both forms (a mailbox moved in from an 8-bit server), the form of the mailbox's
// names (mailboxForm), and without that the store's, as they were first read. Returns the
// sender's and subject's forms, for the same columns read again from a mail's message record.
SettledMailForms SettleTiedMailText(std::vector<CMailItem>& mails,
                                    std::optional<StoredTextForm> mailboxForm);

}  // namespace velmor
