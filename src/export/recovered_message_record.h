#pragma once

#include <optional>

#include "export/export_record.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// The export record of message index of the streaming file's entry, as row index + 1 of the
// entry's one mail folder: the row's cells, its sender, subject and time, the addressing its
// headers give, its bodies, and the message itself as its original. Nothing when its bytes
// cannot be read again.
std::optional<ExportRecord> RecoveredMessageRecord(RecoveredMessages& messages, size_t index);

}  // namespace velmor
