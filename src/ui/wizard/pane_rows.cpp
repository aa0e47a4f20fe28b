#include "wizard/pane_rows.h"

#include <algorithm>

namespace velmor::ui {

bool StepRowHeights(int step, int clientHeight, RowHeights& heights) {
    static constexpr std::array<PaneRow, 3> kContentRowOfStep = {kFileRow, kMailboxRow, kBrowseRow};
    if (step < 1 || step > static_cast<int>(kContentRowOfStep.size())) {
        return false;
    }
    heights = {};
    heights[kBannerRow] = kBannerHeight;
    heights[kContentRowOfStep[step - 1]] = clientHeight - kHeightBesideContent;
    return true;
}

RowSpans LayOutPaneRows(const RowHeights& heights, int clientHeight) {
    RowSpans spans{};
    int top = 0;
    for (int row = 0; row < kButtonBarRow; ++row) {
        const int height = std::clamp(heights[row], 0, std::max(0, clientHeight - top));
        spans[row] = {top, height};
        if (height > 0) {
            top += height + kPaneBarThickness;
        }
    }
    spans[kButtonBarRow] = {top, std::max(0, clientHeight - top)};
    return spans;
}

}  // namespace velmor::ui
