#include "browse/mailbox_key.h"

#include "edb/text_contains.h"

namespace velmor {

std::u16string FindMailboxKey(const MailboxList& mailboxes, const std::u16string& label) {
    for (const MailboxEntry& entry : mailboxes.entries()) {
        if (Contains(entry.displayName, label)) {
            return entry.key;
        }
    }
    return {};
}

}  // namespace velmor
