#pragma once

#include <xapian.h>

namespace velmor {

// The query with each phrase and NEAR group of body words, which the index keeps without
// positions, replaced by the AND of its words filtered by the body's word sequence.
Xapian::Query WithBodyPhrasesChecked(const Xapian::Query& query);

}  // namespace velmor
