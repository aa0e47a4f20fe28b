#include "items/message_index.h"

namespace velmor {

void MessageIndex::Append(CItem entry) {
    const auto index = static_cast<uint32_t>(entries_.size());
    auto [it, inserted] = chains_.try_emplace(entry.itemId, Chain{index, index});
    if (!inserted) {
        nextSameId_[it->second.last] = index;
        it->second.last = index;
    }
    entries_.push_back(std::move(entry));
    nextSameId_.push_back(kNone);
}

const CItem* MessageIndex::FindFirst(const std::u16string& itemId) const {
    auto it = chains_.find(itemId);
    return it == chains_.end() ? nullptr : &entries_[it->second.first];
}

void MessageIndex::Clear() {
    std::vector<CItem>().swap(entries_);
    std::vector<uint32_t>().swap(nextSameId_);
    std::unordered_map<std::u16string, Chain>().swap(chains_);
}

}  // namespace velmor
