#include "streaming/carve_progress.h"

#include <algorithm>
#include <memory>

namespace velmor {

namespace {
constexpr int kProgressSteps = 1000;
}  // namespace

CarveObserver ShowCarveProgress(ProgressSink& sink, std::function<bool()> stopRequested) {
    sink.SetScanStatus(kCarveStatus);
    sink.ShowProgress();
    sink.SetProgressRange(0, kProgressSteps);
    sink.SetProgressPosition(0);
    CarveObserver observer;
    auto shown = std::make_shared<int>(0);
    observer.progress = [&sink, shown](int64_t done, int64_t total) {
        // Only a changed position goes to the bar: in the window each is a call across threads.
        const auto position = static_cast<int>(done * kProgressSteps / std::max<int64_t>(total, 1));
        if (position != *shown) {
            *shown = position;
            sink.SetProgressPosition(position);
        }
    };
    observer.stopRequested = std::move(stopRequested);
    return observer;
}

}  // namespace velmor
