#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <unordered_map>

#include "items/message_index.h"

namespace velmor {

// The message records that the full-file pass finds on every page, gathered by the object id
// of their page before the catalog has said which object is the message table, so that the
// message index needs no second read of the file. Records of other tables (folder tables
// carry the same markers) cost memory until the gathered entries of all objects but the one
// with the most pass kOthersLimit: from then on only that object's pages are gathered, and
// its entries go straight to the end of the list the index is built from. An object whose pages
// were not all gathered has no entries to give: its pages are read again.
class MessageCandidates {
public:
    static constexpr size_t kOthersLimit = 1 << 16;

    explicit MessageCandidates(size_t othersLimit = kOthersLimit) : othersLimit_(othersLimit) {}

    // Whether the full-file pass gathers records at all; without, the message index reads the
    // table's pages again. Both give the same index.
    void GatherInThePass(bool gather) { gatherInThePass_ = gather; }

    // The full-file pass starts gathering; before it, nothing is gathered and Take gives
    // nothing.
    void Start();

    // Whether the pass gathers records.
    bool gathering() const { return started_; }
    // The object whose pages alone are still gathered; 0 while every object's are.
    int32_t keptObject() const { return keptOnly_ ? kept_ : 0; }
    // Whether the pages of the object are still gathered.
    bool Wants(int32_t objectId) const { return started_ && (!keptOnly_ || objectId == kept_); }
    // The records of the object's next page in file order.
    void AddPage(int32_t objectId, std::span<const MessageIndexEntry> entries);
    // A page of the object that was not whole: a second read would stop there.
    void EndObject(int32_t objectId);

    // The index of the object's records in page order, its build reporting to progress;
    // nothing when its pages were not all gathered. Everything else gathered is dropped.
    std::optional<MessageIndex> Take(int32_t objectId,
                                     const MessageIndex::BuildProgress& progress = {});
    void Clear();

private:
    struct Gathered {
        std::deque<MessageIndexEntry> entries;
        bool ended = false;
    };

    void KeepOnlyTheLargest();

    size_t othersLimit_;
    bool gatherInThePass_ = true;
    bool started_ = false;
    std::unordered_map<int32_t, Gathered> gathered_;
    size_t total_ = 0;
    int32_t largest_ = 0;
    size_t largestCount_ = 0;
    bool keptOnly_ = false;
    int32_t kept_ = 0;
    bool keptEnded_ = false;
    std::deque<MessageIndexEntry> keptEntries_;
};

}  // namespace velmor
