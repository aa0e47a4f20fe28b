#include "wizard/percent_progress.h"

#include <gtest/gtest.h>

namespace velmor::ui {
namespace {

TEST(PercentProgressTest, PercentIsWholeNumberOfPositionOverUpperAndZeroWithoutUpper) {
    EXPECT_EQ(ProgressPercent(65, 100), 65);
    EXPECT_EQ(ProgressPercent(1, 3), 33);
    EXPECT_EQ(ProgressPercent(2, 3), 66);
    EXPECT_EQ(ProgressPercent(5, 0), 0);
    EXPECT_EQ(ProgressPercent(5, -1), 0);
    // Positions set against another part's range are not rescaled: above 100 stays above.
    EXPECT_EQ(ProgressPercent(90, 40), 225);
    // Large ranges (pages of a big file) do not overflow.
    EXPECT_EQ(ProgressPercent(30'000'000, 60'000'000), 50);
}

TEST(PercentProgressTest, GreenPartReachesClientWidthLessOneAtFullPercent) {
    EXPECT_EQ(ProgressFillWidth(201, 100), 200);
    EXPECT_EQ(ProgressFillWidth(201, 50), 100);
    EXPECT_EQ(ProgressFillWidth(201, 0), 0);
}

}  // namespace
}  // namespace velmor::ui
