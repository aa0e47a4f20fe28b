#pragma once

#include <string_view>

#include "browse/message_details.h"

namespace velmor {

// A mail of the store whose body comes from its original in the streaming file: when the
// store keeps no Internet headers for it, the original's header block gives them, and with
// them the sender's and the recipients' addresses.
void UseOriginalHeaders(MessageDetails& details, std::string_view original);

}  // namespace velmor
