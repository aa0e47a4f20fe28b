#pragma once

#include <functional>

#include "browse/listed_item.h"
#include "export/export_record.h"
#include "streaming/recovered_messages.h"

namespace velmor {

// An export's completion of mail records: a mail that matched a message of the streaming file
// takes that original (written as it is by EML and mbox), its text and HTML bodies, and its
// Internet headers and addresses when the store keeps no headers.
std::function<void(ExportRecord&, const ListedItem&)> CarvedOriginalCompletion(
    RecoveredMessages& messages);

}  // namespace velmor
