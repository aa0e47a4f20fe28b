#pragma once

#include <functional>

#include "streaming/message_carver.h"
#include "streaming/mime_summary.h"

namespace velmor {

struct StreamingCarveCounts {
    int64_t messages = 0;     // carved and read as messages
    int64_t incomplete = 0;   // of those, marked incomplete
    int64_t notMessages = 0;  // carved, but the MIME library reads no message there
    int64_t unreadableBytes = 0;
    bool stopped = false;  // the pass ended at a stop, before the end of the source
};

// Carves the messages of source and keeps those the MIME library reads as messages; a
// message whose base64 part is cut is marked so. found sees each in file order.
StreamingCarveCounts CarveStreamingFile(
    ByteSource& source, const CarveLimits& limits,
    const std::function<void(CarvedMessage&&, const MimeSummary&)>& found,
    const CarveObserver& observer = {});

}  // namespace velmor
