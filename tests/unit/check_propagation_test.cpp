#include <gtest/gtest.h>

#include <map>
#include <string>
#include <thread>
#include <vector>

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

TEST_F(CheckPropagationTest, AnUncheckReachesTheAncestorsLeftWithNothingCheckedBelow) {
    Click(a_);
    EXPECT_EQ(States(), "111110");
    Click(a2_);
    EXPECT_EQ(States(), "111100") << "A1, a child of A, is still checked";
    Click(b_);
    Click(b_);
    EXPECT_EQ(States(), "111100") << "A, a sibling of B, is still checked";
    Click(a1_);
    EXPECT_EQ(States(), "000000") << "the last checked item below A and the root is gone";
    Click(a1x_);
    Click(b_);
    EXPECT_EQ(States(), "111101");
    Click(a1x_);
    EXPECT_EQ(States(), "100001") << "B still holds the root, nothing holds A or A1";
    Click(root_);
    EXPECT_EQ(States(), "000000") << "unchecking the root clears everything below it";
}

// The propagation's worker bodies, run when the test says.
class HeldWorkers {
public:
    StartWorker Starter() {
        return [this](std::function<void()> body) { bodies_.push_back(std::move(body)); };
    }
    size_t started() const { return bodies_.size(); }
    void RunAll() {
        for (auto& body : bodies_) {
            body();
        }
        bodies_.clear();
    }

private:
    std::vector<std::function<void()>> bodies_;
};

TEST_F(CheckPropagationTest, TheWorkerWaitsForTheControlToToggleTheClickedItem) {
    std::vector<std::thread> threads;
    {
        CheckPropagation propagation(tree_, tree_, [&](std::function<void()> body) {
            threads.emplace_back(std::move(body));
        });
        propagation.OnCheckBoxPressed(a_);
        tree_.SetCheckState(a_, kChecked);  // the control's own processing of the click
        for (std::thread& thread : threads) {
            thread.join();
        }
    }
    EXPECT_EQ(States(), "111110");
}

// A second press within the wait checks its item (which the control then toggles) and the
// one worker carries the state of the item pressed last.
TEST_F(CheckPropagationTest, APressWithinTheWaitIsTheOneThatPropagates) {
    HeldWorkers workers;
    CheckPropagation propagation(tree_, tree_, workers.Starter());
    propagation.OnCheckBoxPressed(a2_);
    tree_.SetCheckState(a2_, kChecked);
    propagation.OnCheckBoxPressed(a1_);
    EXPECT_EQ(tree_.CheckState(a1_), kChecked);
    tree_.SetCheckState(a1_, kUnchecked);
    EXPECT_EQ(workers.started(), 1u);
    workers.RunAll();
    EXPECT_EQ(States(), "000010") << "A1 unchecked with A2 still checked: only A1x follows";

    propagation.OnCheckBoxPressed(b_);
    tree_.SetCheckState(b_, kChecked);
    EXPECT_EQ(workers.started(), 1u) << "the pending mark was cleared";
    workers.RunAll();
    EXPECT_EQ(States(), "100011");
}

}  // namespace
}  // namespace velmor
