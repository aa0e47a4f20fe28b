#pragma once

#include "edb_writer/store_builder.h"

namespace velmor::testdb {

// One mailbox, "Ann Walker", whose mails carry addresses, display lists, Internet headers
// and state: in "Top of Information Store\Inbox" a mail with its Internet headers (long
// values), one with stored fields only (in line, Cyrillic names), one from an "EX" sender whose
// message flags are damaged; in "...\Sent Items" a sent mail with Bcc.
StoreBuilder BuildDetailedMailStore();

// The received mail's Internet headers, as stored.
extern const char kDetailedMailHeaders[];

}  // namespace velmor::testdb
