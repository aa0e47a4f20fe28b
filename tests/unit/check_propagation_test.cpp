#include <gtest/gtest.h>

#include <map>
#include <string>

#include "browse/check_propagation.h"
#include "browse/plain_folder_tree.h"

namespace velmor {
namespace {

// Root
//   A
//     A1
//       A1x
//     A2
//   B
class CheckPropagationTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = tree_.InsertItem(u"Root", 11, 11, kNoTreeItem);
        a_ = tree_.InsertItem(u"A", 0, 12, root_);
        a1_ = tree_.InsertItem(u"A1", 0, 12, a_);
        a1x_ = tree_.InsertItem(u"A1x", 0, 12, a1_);
        a2_ = tree_.InsertItem(u"A2", 0, 12, a_);
        b_ = tree_.InsertItem(u"B", 0, 12, root_);
    }
    // The control toggles the clicked box; the worker then carries the new state on.
    void Click(TreeItem item) {
        tree_.SetCheckState(item, tree_.CheckState(item) == kChecked ? kUnchecked : kChecked);
        PropagateCheck(tree_, item);
    }
    std::string States() const {
        std::string states;
        for (TreeItem item : {root_, a_, a1_, a1x_, a2_, b_}) {
            states += tree_.CheckState(item) == kChecked ? '1' : '0';
        }
        return states;
    }

    PlainFolderTree tree_;
    TreeItem root_{}, a_{}, a1_{}, a1x_{}, a2_{}, b_{};
};

TEST_F(CheckPropagationTest, ACheckGoesToEveryAncestorAndDescendant) {
    Click(a1_);
    EXPECT_EQ(States(), "111100");  // Root A A1 A1x A2 B
    Click(a_);
    EXPECT_EQ(States(), "000000") << "no sibling of A is checked, so the root is unchecked too";
    Click(a_);
    EXPECT_EQ(States(), "111110");
}

TEST_F(CheckPropagationTest, AnUncheckReachesTheAncestorsOnlyWhenNoRelatedItemIsChecked) {
    Click(a_);
    EXPECT_EQ(States(), "111110");
    Click(a2_);
    EXPECT_EQ(States(), "111100") << "A1, a child of A, is still checked";
    Click(a1_);
    EXPECT_EQ(States(), "110000") << "A itself counts among the related items";
    Click(b_);
    Click(b_);
    EXPECT_EQ(States(), "110000") << "A, a sibling of B, is still checked";
    Click(root_);
    EXPECT_EQ(States(), "000000") << "the root has no related items";
}

TEST_F(CheckPropagationTest, TheWorkerWaitsForTheControlToToggleTheClickedItem) {
    CheckPropagation propagation(tree_);
    propagation.OnCheckBoxPressed(a_);
    tree_.SetCheckState(a_, kChecked);  // the control's own processing of the click
    propagation.Wait();
    EXPECT_EQ(States(), "111110");
}

}  // namespace
}  // namespace velmor
