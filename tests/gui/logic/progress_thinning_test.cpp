#include <gtest/gtest.h>

#include "wizard/percent_progress.h"
#include "wizard/progress_thinning.h"

namespace velmor::ui {
namespace {

// A 1 GiB store reports 16,384 chunk positions: about a thousand reach the bar, the first and
// the last among them, and the percent the bar shows is always the true one.
TEST(ProgressThinningTest, LargeRangesReachTheBarOncePerThousandthAndShowTheTruePercent) {
    ProgressThinning thinning;
    constexpr int kHigh = 16384;
    thinning.SetRange(0, kHigh);
    int letThrough = 0;
    int shown = -1;
    for (int position = 0; position <= kHigh; ++position) {
        if (thinning.LetThrough(position)) {
            ++letThrough;
            shown = position;
        }
        EXPECT_EQ(ProgressPercent(shown, kHigh), ProgressPercent(position, kHigh)) << position;
    }
    EXPECT_EQ(shown, kHigh);
    EXPECT_LE(letThrough, ProgressThinning::kSteps + 1);
    EXPECT_GE(letThrough, ProgressThinning::kSteps);
}

TEST(ProgressThinningTest, SmallRangesLetEveryChangeThroughAndNoRepeat) {
    ProgressThinning thinning;
    thinning.SetRange(10, 60);
    EXPECT_TRUE(thinning.LetThrough(10));
    EXPECT_FALSE(thinning.LetThrough(10));
    EXPECT_TRUE(thinning.LetThrough(11));
    EXPECT_TRUE(thinning.LetThrough(5)) << "below the range";
    EXPECT_TRUE(thinning.LetThrough(70)) << "above the range";
    EXPECT_FALSE(thinning.LetThrough(70));
    thinning.Forget();
    EXPECT_TRUE(thinning.LetThrough(70)) << "a bar shown anew gets the position again";
    thinning.SetRange(0, 100000);
    EXPECT_TRUE(thinning.LetThrough(70)) << "a new range gets the position again";
    EXPECT_FALSE(thinning.LetThrough(71));
    EXPECT_TRUE(thinning.LetThrough(100000));
}

}  // namespace
}  // namespace velmor::ui
