#pragma once

#include <optional>
#include <vector>

#include "edb/stored_text_decoder.h"
#include "items/item_records.h"

namespace velmor {

// One decision per column of a folder table: a sender or subject both readings allow takes the
// form of its column's certain values; with none of them, or with certain values of both forms
// (a mailbox moved in from an 8-bit server), the form of the mailbox's names (mailboxForm), and
// without that the store's, as it was first read.
void SettleTiedMailText(std::vector<CMailItem>& mails, std::optional<StoredTextForm> mailboxForm);

}  // namespace velmor
