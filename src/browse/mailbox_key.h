#pragma once

#include <string>

#include "discovery/mailbox_list.h"

namespace velmor {

// The key of the first mailbox whose display name contains the label; empty when none does.
std::u16string FindMailboxKey(const MailboxList& mailboxes, const std::u16string& label);

}  // namespace velmor
