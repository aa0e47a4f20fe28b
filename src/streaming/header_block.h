#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "edb/page_view.h"

namespace velmor {

// Bytes of a header block looked at to tell whether a message starts there; a longer block
// counts when its first part does.
inline constexpr int64_t kHeaderLookahead = 16 * 1024;

// Whether an mbox separator line ("From " and the sender) starts at pos.
bool StartsWithMboxSeparator(PageView bytes, int64_t pos);

// Whether an RFC 5322 header block starts at pos, after an mbox "From " separator line if
// there is one: a run of fields (a name of printable characters, a colon, a value, folded
// continuation lines) up to an empty line, a line that is no field (a body that starts
// without its empty line), zero fill, the end of the bytes or the look-ahead, with at least
// two of Received, From, To, Subject, Date, Message-ID, MIME-Version and Content-Type.
bool StartsHeaderBlock(PageView bytes, int64_t pos);

// Whether bytes, a message so far, end inside a header block: every line since the last
// empty line (or since the start) is a field or a continuation line, the last one maybe cut
// (inside a field name). Only the look-ahead's length of bytes is looked at.
bool EndsInsideHeaderBlock(std::string_view bytes);

// The boundary of the multipart body of the message whose header block starts at pos (its
// Content-Type field, unfolded, read as the MIME library reads it, RFC 2231 parameters
// included), or empty when the body is no multipart.
std::string OutermostBoundary(PageView bytes, int64_t pos);

}  // namespace velmor
