#pragma once

#include <string>
#include <string_view>

namespace velmor {

// The header block with the fields a message's summary does not read left out (Received,
// To, Cc, Content-Type, ...), for the MIME library to read far fewer fields and addresses.
// Only well-formed fields go: the first line, and every line from the first one that is no
// field and no folded line of one on, stay as they are, so that the library reads the fields
// kept as it reads them in the whole block.
std::string SummaryFieldsOf(std::string_view headerBlock);

}  // namespace velmor
