#include "streaming/recovered_messages.h"

namespace velmor {

bool RecoveredMessages::Load(const std::filesystem::path& streamingFile,
                             const CarveLimits& limits) {
    messages_.clear();
    if (!source_.Open(streamingFile)) {
        return false;
    }
    counts_ = CarveStreamingFile(
        source_, limits, [&](CarvedMessage&& message, const MimeSummary& summary) {
            messages_.push_back(
                RecoveredMessage{message.offset, static_cast<int64_t>(message.bytes.size()),
                                 message.pages, std::move(message.incompleteReason), summary});
        });
    return true;
}

std::optional<std::string> RecoveredMessages::Bytes(size_t index) {
    if (index >= messages_.size()) {
        return std::nullopt;
    }
    const RecoveredMessage& message = messages_[index];
    std::string bytes(static_cast<size_t>(message.length), '\0');
    const int64_t count = source_.Read(
        message.offset, std::span(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()));
    if (count != message.length) {
        return std::nullopt;
    }
    return bytes;
}

}  // namespace velmor
