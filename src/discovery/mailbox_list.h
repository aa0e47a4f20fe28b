#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

namespace velmor {

struct MailboxEntry {
    std::u16string key;  // upper-case hexadecimal rendering of the mailbox's identifying bytes
    std::u16string displayName;
    std::vector<uint8_t> storedName;  // the name's bytes, read again in the store's form
};

// Mailboxes in discovery order; keys are unique.
class MailboxList {
public:
    bool ContainsKey(const std::u16string& key) const { return keys_.contains(key); }
    // Appends a mailbox whose key is not yet listed.
    void Append(MailboxEntry entry);
    void SetDisplayName(size_t index, std::u16string name) {
        entries_[index].displayName = std::move(name);
    }

    const std::vector<MailboxEntry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    void Clear();

private:
    std::vector<MailboxEntry> entries_;
    std::unordered_set<std::u16string> keys_;
};

}  // namespace velmor
