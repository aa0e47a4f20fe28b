#pragma once

#include <cstdint>
#include <string_view>

namespace velmor {

// What a list needs of a message's part tree besides its header fields.
struct MimeStructure {
    int64_t attachments = 0;  // counted as ReadMimeParts lists them
    bool base64Cut = false;   // a base64 part ends in the middle of a group of four
};

// Walks the part tree of message without building it: the parts are found the way the MIME
// library's parser finds them (a header block ends at an empty line only; a line with the
// boundary of any enclosing multipart ends a part), the bytes searched with memchr-class loops,
// so that a pass over gigabytes gives the same answers as a full reading at a fraction of its
// cost. The MIME library reads the header values (content type, disposition, encoding).
MimeStructure ScanMimeStructure(std::string_view message);

}  // namespace velmor
