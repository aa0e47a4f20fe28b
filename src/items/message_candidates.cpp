#include "items/message_candidates.h"

namespace velmor {

void MessageCandidates::Start() {
    Clear();
    started_ = gatherInThePass_;
}

void MessageCandidates::AddPage(int32_t objectId, std::span<const MessageIndexEntry> entries) {
    if (!Wants(objectId)) {
        return;
    }
    if (keptOnly_) {
        if (!keptEnded_) {
            keptEntries_.insert(keptEntries_.end(), entries.begin(), entries.end());
        }
        return;
    }
    Gathered& object = gathered_[objectId];
    if (object.ended || entries.empty()) {
        return;
    }
    object.entries.insert(object.entries.end(), entries.begin(), entries.end());
    total_ += entries.size();
    if (object.entries.size() > largestCount_) {
        largestCount_ = object.entries.size();
        largest_ = objectId;
    }
    if (total_ - largestCount_ > othersLimit_) {
        KeepOnlyTheLargest();
    }
}

void MessageCandidates::EndObject(int32_t objectId) {
    if (keptOnly_) {
        keptEnded_ = keptEnded_ || objectId == kept_;
    } else {
        gathered_[objectId].ended = true;
    }
}

void MessageCandidates::KeepOnlyTheLargest() {
    Gathered& largest = gathered_[largest_];
    keptEntries_ = std::move(largest.entries);
    keptEnded_ = largest.ended;
    kept_ = largest_;
    keptOnly_ = true;
    gathered_.clear();
    total_ = 0;
}

std::optional<MessageIndex> MessageCandidates::Take(int32_t objectId,
                                                    const MessageIndex::BuildProgress& progress) {
    std::optional<MessageIndex> index;
    if (!started_) {
        return index;
    }
    if (keptOnly_) {
        if (objectId == kept_) {
            index.emplace(std::move(keptEntries_), progress);
        }
    } else if (const auto found = gathered_.find(objectId); found != gathered_.end()) {
        index.emplace(std::move(found->second.entries), progress);
    } else {
        index.emplace();
    }
    Clear();
    return index;
}

void MessageCandidates::Clear() {
    started_ = false;
    gathered_.clear();
    total_ = 0;
    largest_ = 0;
    largestCount_ = 0;
    keptOnly_ = false;
    kept_ = 0;
    keptEnded_ = false;
    std::deque<MessageIndexEntry>().swap(keptEntries_);
}

}  // namespace velmor
