#pragma once

#include "discovery/processing_context.h"

namespace velmor {

// Processing part 4: finds mailbox records on the Mailbox table's pages by their marker of
// four 0xFF bytes and reads each mailbox's key and display name.
void ScanMailboxTable(ProcessingContext& context);

// The mailbox records on one page, appended to mailboxes; false when a stop was requested.
bool ScanMailboxPage(const PageView& page, StopFlag& stop, MailboxList& mailboxes);

}  // namespace velmor
