#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>

#include "items/zeroed_array.h"

namespace velmor {

// A time no FILETIME conversion accepts: the entry of a record whose time field lay outside
// its page.
inline constexpr uint64_t kNoFileTime = UINT64_MAX;

// The hash that places an item id in a message index's table.
uint64_t MessageIdHash(uint64_t idValue);

// One message record of the store's message table, kept to 24 bytes because a store holds
// millions of them: the id and the time are held as their stored values and rendered as text
// when asked.
struct MessageIndexEntry {
    uint64_t itemIdValue = 0;         // the 8 identifier bytes, first byte most significant
    uint64_t fileTime = kNoFileTime;  // the record's FILETIME
    int64_t recordPosition = 0;       // file offset of the record's tagged directory

    // 16 upper-case hexadecimal digits, as HexKey renders the identifier bytes.
    std::u16string itemId() const;
    // The item date text of the time; empty without one.
    std::u16string dateText() const;
};

// The entries in the order found, with an open-addressing hash index from item id to the
// chain of entries that carry it, so that the first entry and all of them in index order are
// found without walking the index. The index is built whole, once its entries are gathered.
class MessageIndex {
public:
    // Told, now and then on the calling thread, how many steps of how many a build has passed
    // (an entry is a step; so is each slice of a large table's memory taken from the system
    // before the first entry, as many steps as a report's worth of entries); false abandons the
    // build and leaves the index empty.
    using BuildProgress = std::function<bool(size_t done, size_t total)>;

    MessageIndex() = default;
    // The index of entries gathered in order: its hash table is built once, at its final
    // size.
    explicit MessageIndex(std::deque<MessageIndexEntry> entries,
                          const BuildProgress& progress = {});

    const std::deque<MessageIndexEntry>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }
    // The bytes of the hash table and the chains, which live outside the heap, as far as they
    // have been written.
    size_t residentBytes() const {
        return slots_.residentBytes() + nextSameNumber_.residentBytes();
    }

    // The first entry whose item id equals the given text exactly, or nullptr.
    const MessageIndexEntry* FindFirst(const std::u16string& itemId) const;

    // Calls visit(entry) for every entry with the item id, in index order, while it
    // returns true.
    template <typename Visit>
    void ForEachWithId(const std::u16string& itemId, Visit&& visit) const {
        for (uint32_t i = FirstWithId(itemId); i != kNone; i = nextSameNumber_[i] - 1) {
            if (!visit(entries_[i])) {
                return;
            }
        }
    }

    void Clear();

private:
    // What a number of 0, less 1, gives: no entry.
    static constexpr uint32_t kNone = UINT32_MAX;

    // One id's chain, 8 bytes so that the table of a large store stays in the processor's
    // cache as long as it can. An all-zero slot is empty, so that a fresh table needs no
    // set-up. The tag, bits of the id's hash that did not choose the slot, spares a probe the
    // look at the entry itself for nearly every other id.
    struct Slot {
        uint32_t firstNumber = 0;  // 1 + the index of the id's first entry; 0: empty
        uint32_t tag = 0;
    };

    uint32_t FirstWithId(const std::u16string& itemId) const;
    // Where the probe for an id of the hash starts.
    size_t HomeSlot(uint64_t hash) const;
    // The slot that holds the chain of the id, or the empty slot where it would go.
    size_t SlotOf(uint64_t idValue, uint64_t hash) const;

    std::deque<MessageIndexEntry> entries_;
    // Per entry: 1 + the index of the next entry with the same id; 0: none. Only the entries
    // of ids found more than once are written: an id found once, the common case, costs
    // none.
    ZeroedArray<uint32_t> nextSameNumber_;
    ZeroedArray<Slot> slots_;
};

}  // namespace velmor
