// The item list as a worker fills it: the rows reach the list in their order, all of them,
// gathered into runs while the user-interface thread is busy, and before whatever the worker
// does next (a stop, a new listing).
#include "wizard/marshalled_item_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "items/item_records.h"
#include "recorded_item_list.h"
#include "wizard/worker_threads.h"

namespace velmor::ui {
namespace {

std::u16string Number(int row) {
    return std::u16string(u"#") + static_cast<char16_t>(u'0' + row % 10) +
           static_cast<char16_t>(u'0' + row / 10 % 10) + static_cast<char16_t>(u'0' + row / 100);
}

// Lists the mails numbered first to end - 1, as the mail lister does.
void ListMails(ItemList& list, int first, int end) {
    for (int row = first; row < end; ++row) {
        CMailItem mail;
        mail.itemId = u"id" + Number(row);
        ListedItem listed;
        listed.item = &mail;
        list.InsertListedRow(row, row % 3, {Number(row), u"sender"}, listed);
    }
}

class MarshalledItemListTest : public testing::Test {
protected:
    MarshalledItemListTest() {
        bridge_.SetWakeUp([] {});
    }

    void ExpectMails(int rows) {
        ASSERT_EQ(list_.rows().size(), static_cast<size_t>(rows));
        ASSERT_EQ(list_.itemIds.size(), static_cast<size_t>(rows));
        for (int row = 0; row < rows; ++row) {
            EXPECT_EQ(list_.rows()[row].cells.front(), Number(row));
            EXPECT_EQ(list_.rows()[row].image, row % 3);
            EXPECT_EQ(list_.itemIds[row], u"id" + Number(row));
        }
    }

    UiCallBridge bridge_;
    test::RecordedItemList list_;
    MarshalledItemList marshalled_{bridge_, list_};
};

TEST_F(MarshalledItemListTest, TheFirstRowIsWaitedOnAndTheRowsAfterItArriveAsOneRunBeforeTheStop) {
    std::atomic<bool> goOn{false};
    std::atomic<bool> listed{false};
    WorkerThreads workers(bridge_);
    workers.Start([&] {
        ListMails(marshalled_, 0, 1);
        while (!goOn) {
            std::this_thread::yield();
        }
        ListMails(marshalled_, 1, 500);
        listed = true;
        marshalled_.ListingStopped();
    });
    bridge_.ServeUntil([&] { return list_.rows().size() == 1; });
    goOn = true;
    // The rows after the first do not wait for this thread; the stop does.
    while (!listed) {
        std::this_thread::yield();
    }
    workers.WaitForAll();
    ExpectMails(500);
    EXPECT_EQ(list_.runs, (std::vector<size_t>{1, 499}));
    EXPECT_EQ(list_.stoppedAfter, std::vector<size_t>{500}) << "the stop follows every row";
}

TEST_F(MarshalledItemListTest, EveryRowOfAListingServedAsItArrivesReachesTheListInOrder) {
    WorkerThreads workers(bridge_);
    workers.Start([&] {
        marshalled_.DeleteAllRows();
        ListMails(marshalled_, 0, 999);
    });
    workers.WaitForAll();
    ExpectMails(999);
    size_t inRuns = 0;
    for (size_t run : list_.runs) {
        inRuns += run;
    }
    EXPECT_EQ(inRuns, 999u);

    // A new listing clears only after the rows of the last one.
    workers.Start([&] {
        ListMails(marshalled_, 0, 10);
        marshalled_.DeleteAllRows();
        ListMails(marshalled_, 0, 3);
    });
    workers.WaitForAll();
    EXPECT_EQ(list_.rows().size(), 3u);
}

TEST_F(MarshalledItemListTest, TheUiThreadItselfInsertsAtOnce) {
    ListMails(marshalled_, 0, 4);
    ExpectMails(4);
    EXPECT_EQ(list_.runs, (std::vector<size_t>{1, 1, 1, 1}));
}

}  // namespace
}  // namespace velmor::ui
