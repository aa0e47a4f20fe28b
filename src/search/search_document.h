#pragma once

#include <xapian.h>

#include "search/search_fields.h"

namespace velmor {

// The index's document of one item: its fields' words under their prefixes, its kind, date and
// attachment flag as boolean terms, its date in the date slot and what a match shows as data.
Xapian::Document MakeSearchDocument(const SearchFields& fields, Xapian::TermGenerator& terms);

}  // namespace velmor
