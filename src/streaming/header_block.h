#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "edb/page_view.h"

namespace velmor {

// Bytes of a header block looked at to tell whether a message starts there; a longer block
// counts when its first part does.
inline constexpr int64_t kHeaderLookahead = 16 * 1024;

// Whether an RFC 5322 header block starts at pos: a run of fields (a name of printable
// characters, a colon, a value, folded continuation lines) up to an empty line, the end of
// the bytes or the look-ahead, with at least two of Received, From, To, Subject, Date,
// Message-ID, MIME-Version and Content-Type.
bool StartsHeaderBlock(PageView bytes, int64_t pos);

// The boundary of the multipart body of the message whose header block starts at pos (its
// Content-Type field, unfolded), or empty when the body is no multipart.
std::string OutermostBoundary(PageView bytes, int64_t pos);

}  // namespace velmor
