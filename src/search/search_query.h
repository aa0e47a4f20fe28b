#pragma once

#include <string>

#include <xapian.h>

namespace velmor {

// The query of a search box text: words in any script, "phrases", AND, OR, NOT, +word and
// -word, the prefixes from:, to:, cc:, bcc:, subject:, body:, folder:, kind: and has:, and
// date:YYYY-MM-DD or date ranges date:YYYY-MM-DD..YYYY-MM-DD. Words without a prefix are
// looked for in the senders, recipients, subjects, bodies and attachment names. Throws
// Xapian::QueryParserError on text it cannot read, and on a query of more than 1,000 words.
Xapian::Query ParseSearchQuery(const Xapian::Database& index, const std::string& text,
                               const std::string& stemLanguage);

}  // namespace velmor
