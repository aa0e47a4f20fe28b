#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmor {

// The most bytes of a message's header block that are read: the MIME library keeps a header
// line in memory several times over, so that a 100 MB line would cost seconds and half a
// gigabyte. A longer block is cut there.
inline constexpr size_t kMaxHeaderBlockBytes = 1024 * 1024;

// A message's header block: its bytes up to and with the first empty line, all of them when it
// has none.
std::string_view HeaderBlockOf(std::string_view bytes);

struct MimeAttachment {
    std::string name;  // UTF-8; empty when the part names none
    std::string type;  // "image/png"
    int64_t size = 0;  // decoded bytes
};

// What a list shows of one MIME message, its texts decoded to UTF-8.
struct MimeSummary {
    std::string messageId;  // without the angle brackets
    std::string from;
    std::string fromName;  // of the first sender, for matching the database's mails
    std::string fromAddress;
    std::string subject;
    std::string date;       // ISO 8601, empty when it has none that reads
    uint64_t fileTime = 0;  // the same date as a FILETIME; 0 when none
    int64_t attachmentCount = 0;
    bool base64Cut = false;  // a base64 part ends in the middle of a group of four
    bool partsCut = false;   // only the first kMaxMessageParts parts are read
};

// The message's summary, or nothing when the MIME library reads no message there. Only the
// header block goes through the MIME library (whether it reads a message depends on nothing
// else); the part tree is walked by ScanMimeStructure, so that a pass over a whole streaming
// file costs little more than reading it.
std::optional<MimeSummary> ReadMimeMessage(std::string_view bytes);

// The parts of a message as the MIME library builds them.
struct MimeParts {
    // The parts with a file name or an attachment disposition, and each attached message
    // (message/rfc822) as one.
    std::vector<MimeAttachment> attachments;
    bool base64Cut = false;
    bool partsCut = false;  // the message has more parts than are read (kMaxMessageParts)
};

// The message read whole by the MIME library, or nothing when it reads no message there.
std::optional<MimeParts> ReadMimeParts(std::string_view bytes);
// Its attachments as ReadMimeParts lists them; none when it reads no message there.
std::vector<MimeAttachment> ReadMimeAttachments(std::string_view bytes);

// What a message window shows of a MIME message besides its summary, as UTF-8.
struct MimeBody {
    std::string to;
    std::optional<std::string> text;  // the first text/plain part that is no attachment
    std::optional<std::string> html;  // the first text/html part that is no attachment
};

std::optional<MimeBody> ReadMimeBody(std::string_view bytes);

// The decoded bytes of attachment index (as ReadMimeParts lists them), or nothing.
std::optional<std::string> AttachmentContent(std::string_view message, size_t index);
// The decoded bytes of every attachment, in that order, from one reading of the message; an
// attachment that cannot be decoded has nothing.
std::vector<std::optional<std::string>> AttachmentContents(std::string_view message);

}  // namespace velmor
