#pragma once

#include <cstdint>

namespace velmor::ui {

// The percent a PercentProgressBar shows: position × 100 / upper in whole numbers, 0 when the
// upper bound is below 1. The lower bound plays no part.
inline int ProgressPercent(int position, int upper) {
    if (upper < 1) {
        return 0;
    }
    return static_cast<int>(int64_t{position} * 100 / upper);
}

// The width of the green part from the left edge, for a bar of the given client width.
inline int ProgressFillWidth(int clientWidth, int percent) {
    return static_cast<int>(int64_t{clientWidth - 1} * percent / 100);
}

}  // namespace velmor::ui
