#pragma once

#include <filesystem>
#include <optional>
#include <string>
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
    // False when the file cannot be read.
    bool Load(const std::filesystem::path& streamingFile, const CarveLimits& limits = {});

    const std::vector<RecoveredMessage>& messages() const { return messages_; }
    const StreamingCarveCounts& counts() const { return counts_; }
    // The carved bytes of message index, or nothing when they cannot be read.
    std::optional<std::string> Bytes(size_t index);

private:
    FileByteSource source_;
    std::vector<RecoveredMessage> messages_;
    StreamingCarveCounts counts_;
};

}  // namespace velmor
