#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "streaming/file_byte_source.h"
#include "streaming/streaming_carve.h"

namespace velmor {

// The name and kind of the entry that lists the streaming file's messages beside the
// mailboxes.
inline constexpr char16_t kStreamingEntryName[] = u"Recovered from the streaming file";
inline constexpr char kStreamingEntryKind[] = "streaming file";

// One message carved from the streaming file; its bytes stay in the file.
struct RecoveredMessage {
    int64_t offset = 0;
    int64_t length = 0;
    int64_t pages = 0;
    std::string incompleteReason;
    MimeSummary summary;
};

// The messages of a streaming file, carved once; each one's bytes are read again when asked.
class RecoveredMessages {
public:
    // False when the file cannot be read. A pass stopped by observer keeps the messages
    // carved up to the stop (counts().stopped).
    bool Load(const std::filesystem::path& streamingFile, const CarveLimits& limits = {},
              const CarveObserver& observer = {});

    const std::vector<RecoveredMessage>& messages() const { return messages_; }
    const StreamingCarveCounts& counts() const { return counts_; }
    // The carved bytes of message index, or nothing when they cannot be read.
    std::optional<std::string> Bytes(size_t index);

    // Moves the messages that mails of the database match out of messages(): each pair is a
    // mail's item id and the index of its original in messages().
    void TakeMatched(const std::vector<std::pair<std::u16string, size_t>>& matches);
    // The original of the mail with the item id, and its bytes; nothing when it has none.
    const RecoveredMessage* MatchedMessage(const std::u16string& itemId) const;
    std::optional<std::string> MatchedBytes(const std::u16string& itemId);

private:
    std::optional<std::string> ReadBytes(const RecoveredMessage& message);

    FileByteSource source_;
    std::vector<RecoveredMessage> messages_;
    StreamingCarveCounts counts_;
    std::vector<RecoveredMessage> matched_;
    std::unordered_map<std::u16string, size_t> matchedByItemId_;  // into matched_
};

}  // namespace velmor
