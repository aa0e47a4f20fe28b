#include "wizard/pane_rows.h"

#include <gtest/gtest.h>

namespace velmor::ui {
namespace {

constexpr int kClientHeight = 768;

TEST(PaneRowsTest, EachStepGivesItsContentRowTheClientHeightLessTheBannerAndButtonBar) {
    struct Case {
        int step;
        PaneRow content;
    };
    for (const Case& c : {Case{1, kFileRow}, Case{2, kMailboxRow}, Case{3, kBrowseRow}}) {
        RowHeights heights{};
        ASSERT_TRUE(StepRowHeights(c.step, kClientHeight, heights));
        const RowSpans spans = LayOutPaneRows(heights, kClientHeight);
        EXPECT_EQ(spans[kBannerRow].top, 0);
        EXPECT_EQ(spans[kBannerRow].height, 70);
        EXPECT_EQ(spans[c.content].top, 71) << "one-pixel bar below the banner";
        EXPECT_EQ(spans[c.content].height, kClientHeight - 150);
        for (const PaneRow other : {kBrowseRow, kFileRow, kMailboxRow}) {
            if (other != c.content) {
                EXPECT_EQ(spans[other].height, 0) << "step " << c.step << " row " << other;
            }
        }
        // The button bar takes the rest: 80 pixels less the two visible bars.
        EXPECT_EQ(spans[kButtonBarRow].top, 71 + kClientHeight - 150 + 1);
        EXPECT_EQ(spans[kButtonBarRow].height, 78);
        EXPECT_EQ(spans[kButtonBarRow].top + spans[kButtonBarRow].height, kClientHeight);
    }
}

TEST(PaneRowsTest, AStepWithoutContentRowChangesNothing) {
    RowHeights heights{1, 2, 3, 4, 5};
    EXPECT_FALSE(StepRowHeights(0, kClientHeight, heights));
    EXPECT_FALSE(StepRowHeights(4, kClientHeight, heights));
    EXPECT_EQ(heights, (RowHeights{1, 2, 3, 4, 5}));
}

TEST(PaneRowsTest, RowsKeptFromALargerWindowAreCutAtTheBottomOfASmallerOne) {
    RowHeights heights{};
    ASSERT_TRUE(StepRowHeights(2, kClientHeight, heights));
    const RowSpans spans = LayOutPaneRows(heights, 120);
    EXPECT_EQ(spans[kBannerRow].height, 70);
    EXPECT_EQ(spans[kMailboxRow].top, 71);
    EXPECT_EQ(spans[kMailboxRow].height, 49);
    EXPECT_EQ(spans[kButtonBarRow].height, 0);
}

}  // namespace
}  // namespace velmor::ui
