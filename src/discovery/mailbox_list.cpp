#include "discovery/mailbox_list.h"

namespace velmor {

void MailboxList::Append(MailboxEntry entry) {
    if (keys_.insert(entry.key).second) {
        entries_.push_back(std::move(entry));
    }
}

void MailboxList::Clear() {
    entries_.clear();
    keys_.clear();
}

}  // namespace velmor
