#pragma once

#include <array>

namespace velmor::ui {

// The main window's pane stack: five rows in one column.
enum PaneRow { kBannerRow, kBrowseRow, kFileRow, kMailboxRow, kButtonBarRow, kPaneRowCount };

inline constexpr int kBannerHeight = 70;
// The banner and the button bar share what the content row leaves.
inline constexpr int kHeightBesideContent = 150;
// Smaller client heights keep the rows as they were.
inline constexpr int kSmallestStepLayoutHeight = kHeightBesideContent + 1;
inline constexpr int kPaneBarThickness = 1;

struct RowSpan {
    int top = 0;
    int height = 0;
};

using RowHeights = std::array<int, kPaneRowCount>;
using RowSpans = std::array<RowSpan, kPaneRowCount>;

// The heights ShowCurrentStep asks for: the banner 70, the step's content row the client
// height less 150, the other content rows none. False for a step that has no content row.
bool StepRowHeights(int step, int clientHeight, RowHeights& heights);

// Places the rows top down at the heights asked for; a row of height 0 is hidden with its bar,
// and the button bar takes whatever the rows above leave.
RowSpans LayOutPaneRows(const RowHeights& heights, int clientHeight);

}  // namespace velmor::ui
