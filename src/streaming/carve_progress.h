#pragma once

#include <functional>

#include "discovery/progress_sink.h"
#include "streaming/message_carver.h"

namespace velmor {

inline constexpr char16_t kCarveStatus[] = u"Reading the streaming file...";

// Shows a pass over the streaming file on sink, as the discovery shows its parts: sets the
// status line and the progress bar now and returns the observer that moves the bar; its
// stop test is stopRequested (may be empty).
CarveObserver ShowCarveProgress(ProgressSink& sink, std::function<bool()> stopRequested);

}  // namespace velmor
