#include "streaming/recovered_messages.h"

namespace velmor {

bool RecoveredMessages::Load(const std::filesystem::path& streamingFile, const CarveLimits& limits,
                             const CarveObserver& observer) {
    messages_.clear();
    matched_.clear();
    matchedByItemId_.clear();
    if (!source_.Open(streamingFile)) {
        return false;
    }
    counts_ = CarveStreamingFile(
        source_, limits,
        [&](CarvedMessage&& message, const MimeSummary& summary) {
            messages_.push_back(
                RecoveredMessage{message.offset, static_cast<int64_t>(message.bytes.size()),
                                 message.pages, std::move(message.incompleteReason), summary});
        },
        observer);
    return true;
}

std::optional<std::string> RecoveredMessages::Bytes(size_t index) {
    if (index >= messages_.size()) {
        return std::nullopt;
    }
    return ReadBytes(messages_[index]);
}

std::optional<std::string> RecoveredMessages::ReadBytes(const RecoveredMessage& message) {
    std::string bytes(static_cast<size_t>(message.length), '\0');
    const int64_t count = source_.Read(
        message.offset, std::span(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()));
    if (count != message.length) {
        return std::nullopt;
    }
    return bytes;
}

void RecoveredMessages::TakeMatched(const std::vector<std::pair<std::u16string, size_t>>& matches) {
    constexpr size_t kNotMatched = SIZE_MAX;
    std::vector<size_t> matchedIndex(messages_.size(), kNotMatched);
    for (const auto& [itemId, index] : matches) {
        if (index >= messages_.size()) {
            continue;
        }
        if (matchedIndex[index] == kNotMatched) {
            matchedIndex[index] = matched_.size();
            matched_.push_back(messages_[index]);
        }
        matchedByItemId_.emplace(itemId, matchedIndex[index]);
    }
    std::vector<RecoveredMessage> unmatched;
    for (size_t i = 0; i < messages_.size(); ++i) {
        if (matchedIndex[i] == kNotMatched) {
            unmatched.push_back(std::move(messages_[i]));
        }
    }
    messages_ = std::move(unmatched);
}

const RecoveredMessage* RecoveredMessages::MatchedMessage(const std::u16string& itemId) const {
    const auto found = matchedByItemId_.find(itemId);
    return found == matchedByItemId_.end() ? nullptr : &matched_[found->second];
}

std::optional<std::string> RecoveredMessages::MatchedBytes(const std::u16string& itemId) {
    const RecoveredMessage* message = MatchedMessage(itemId);
    return message ? ReadBytes(*message) : std::nullopt;
}

}  // namespace velmor
