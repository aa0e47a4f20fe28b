#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmor {

// The most parts of one message that are read: a message of a million tiny parts would cost
// the MIME library gigabytes and minutes, so one with more is read up to the boundary line of
// the first part past these.
inline constexpr int64_t kMaxMessageParts = 10000;

// The note shown with a message cut at kMaxMessageParts.
inline std::string PartsCutNote() {
    return "The message has more than " + std::to_string(kMaxMessageParts) +
           " parts; only those are read.";
}

// What a list needs of a message's part tree besides its header fields.
struct MimeStructure {
    int64_t attachments = 0;  // counted as ReadMimeParts lists them
    bool base64Cut = false;   // a base64 part ends in the middle of a group of four
    // Where the boundary line of the first part past maxParts starts; none when the message
    // has no more parts.
    std::optional<size_t> partsCutAt;
};

// Walks the part tree of message without building it: the parts are found the way the MIME
// library's parser finds them (a header block ends at an empty line only; a line with the
// boundary of any enclosing multipart ends a part), the bytes searched with memchr-class loops,
// so that a pass over gigabytes gives the same answers as a full reading at a fraction of its
// cost. The MIME library reads the header values (content type, disposition, encoding).
// Parts past maxParts are not walked (see kMaxMessageParts).
MimeStructure ScanMimeStructure(std::string_view message, int64_t maxParts = kMaxMessageParts);

}  // namespace velmor
