#pragma once

#include <cstdint>

namespace velmor::ui {

// The positions a worker reports for one progress bar, let through only when the bar would
// show them differently: each change within a range of at most kSteps, else once per
// kSteps-th of the range, and always the range's end. Workers report a position per chunk or
// per row, and each report let through is a round trip to the user-interface thread.
class ProgressThinning {
public:
    static constexpr int64_t kSteps = 1000;

    void SetRange(int low, int high) {
        low_ = low;
        high_ = high;
        Forget();
    }
    // The bar was shown or hidden anew: the next position goes through.
    void Forget() { lastStep_ = kNothingShown; }

    // Whether the position must reach the bar.
    bool LetThrough(int position) {
        const int64_t span = static_cast<int64_t>(high_) - low_;
        const int64_t offset = static_cast<int64_t>(position) - low_;
        const int64_t step =
            span <= kSteps || offset <= 0 || offset >= span ? offset : offset * kSteps / span;
        if (step == lastStep_) {
            return false;
        }
        lastStep_ = step;
        return true;
    }

private:
    static constexpr int64_t kNothingShown = INT64_MIN;

    int low_ = 0;
    int high_ = 0;
    int64_t lastStep_ = kNothingShown;
};

}  // namespace velmor::ui
