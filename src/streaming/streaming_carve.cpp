#include "streaming/streaming_carve.h"

namespace velmor {

StreamingCarveCounts CarveStreamingFile(
    ByteSource& source, const CarveLimits& limits,
    const std::function<void(CarvedMessage&&, const MimeSummary&)>& found,
    const CarveObserver& observer) {
    StreamingCarveCounts counts;
    const CarveCounts carved = CarveMessages(
        source, limits,
        [&](CarvedMessage&& message) {
            const std::optional<MimeSummary> summary = ReadMimeMessage(message.bytes);
            if (!summary) {
                ++counts.notMessages;
                return;
            }
            if (message.incompleteReason.empty() && summary->base64Cut) {
                message.incompleteReason = kReasonBase64Cut;
            }
            ++counts.messages;
            counts.incomplete += !message.incompleteReason.empty();
            found(std::move(message), *summary);
        },
        observer);
    counts.unreadableBytes = carved.unreadableBytes;
    counts.stopped = carved.stopped;
    return counts;
}

}  // namespace velmor
