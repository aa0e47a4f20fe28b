#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "items/item_records.h"

namespace velmor {

// One entry per record of the message table, in the order found, with a hash index from item
// id to the entries that carry it (first entry, and all of them in index order).
class MessageIndex {
public:
    void Append(CItem entry);

    const std::vector<CItem>& entries() const { return entries_; }
    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }

    // The first entry whose item id equals the given one exactly, or nullptr.
    const CItem* FindFirst(const std::u16string& itemId) const;

    // Calls visit(entry) for every entry with the item id, in index order, while it
    // returns true.
    template <typename Visit>
    void ForEachWithId(const std::u16string& itemId, Visit&& visit) const {
        auto it = chains_.find(itemId);
        if (it == chains_.end()) {
            return;
        }
        for (uint32_t i = it->second.first; i != kNone; i = nextSameId_[i]) {
            if (!visit(entries_[i])) {
                return;
            }
        }
    }

    void Clear();

private:
    static constexpr uint32_t kNone = UINT32_MAX;
    struct Chain {
        uint32_t first;
        uint32_t last;
    };

    std::vector<CItem> entries_;
    std::vector<uint32_t> nextSameId_;
    std::unordered_map<std::u16string, Chain> chains_;
};

}  // namespace velmor
