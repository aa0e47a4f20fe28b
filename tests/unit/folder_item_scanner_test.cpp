#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browsed_store.h"
#include "edb_writer/file_time.h"
#include "items/folder_item_scanners.h"
#include "local_time_zone.h"

namespace velmor {
namespace {

using testdb::EntryId;

// Folder tables get object ids from 100 on, in the order the folders were added.
constexpr int32_t kInboxTable = 101;
constexpr int32_t kTasksTable = 102;

// A folder record whose tagged directory starts at m, written field by field so that it can
// sit anywhere on the page: the time at m - 52 (when inside the page), the folder id at
// m - 32, the item id at m - 16 and the marker pair (256, 257) with empty values.
void PutRecord(testdb::Page& page, int64_t m, const EntryId& folder, const EntryId& item,
               uint64_t time) {
    if (m >= 52) {
        page.Put64(m - 52, time);
    }
    page.PutBytes(m - 32, folder);
    page.PutBytes(m - 16, item);
    page.Put16(m, 256);
    page.Put16(m + 4, 257);
}

class FolderItemScannerTest : public testing::Test {
protected:
    FolderItemScannerTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        testdb::Folder top;
        top.parent = builder_.AddMailbox(mailbox);
        top.name = "Top";
        const EntryId topId = builder_.AddFolder(top);
        inbox_ = AddFolder(topId, "Inbox", "IPF.Note");
        tasks_ = AddFolder(topId, "Tasks", "IPF.Task");
    }
    EntryId AddFolder(const EntryId& parent, const char* name, const char* containerClass) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = name;
        folder.containerClass = containerClass;
        return builder_.AddFolder(folder);
    }
    std::u16string FolderIdText(const EntryId& id) const {
        return Utf8ToUtf16(testdb::HexText(id));
    }

    test::ScopedTimeZone utc_{"UTC0"};
    testdb::StoreBuilder builder_;
    EntryId inbox_{};
    EntryId tasks_{};
    const uint64_t time_ = testdb::FileTimeFromUtc(2007, 4, 10, 13, 39, 7);
};

TEST_F(FolderItemScannerTest, MarkersAreExaminedUpToTheKindsLastPositionAndNothingOutside) {
    testdb::Item hidden;
    hidden.subject = "Hidden by column 256";
    hidden.hideSubject = true;
    hidden.time = time_;
    builder_.AddItem(inbox_, hidden);
    testdb::DatabaseImage image = builder_.Build();
    PutRecord(image.AddPage(kInboxTable), 3995, inbox_, testdb::MakeEntryId(1, 0x701), time_);
    PutRecord(image.AddPage(kInboxTable), 44, inbox_, testdb::MakeEntryId(1, 0x702), time_);
    PutRecord(image.AddPage(kTasksTable), 3745, tasks_, testdb::MakeEntryId(1, 0x703), time_);
    PutRecord(image.AddPage(kTasksTable), 3746, tasks_, testdb::MakeEntryId(1, 0x704), time_);
    test::BrowsedStore store(image);

    std::vector<CMailItem> mails;
    EXPECT_TRUE(ScanMailItems(store.context(), kInboxTable, mails, FolderIdText(inbox_)));
    ASSERT_EQ(mails.size(), 3u);
    EXPECT_EQ(mails[0].subject, u"") << "a 5-byte column 256 hides the subject";
    EXPECT_EQ(mails[0].dateText, u"Tue 10/4/2007 01:39:07 PM");
    EXPECT_EQ(mails[1].itemId, u"0100000000000701") << "the marker at 3995";
    EXPECT_EQ(mails[1].dateText, u"Tue 10/4/2007 01:39:07 PM");
    EXPECT_EQ(mails[2].itemId, u"0100000000000702");
    EXPECT_EQ(mails[2].dateText, u"") << "its time would lie before the page";
    EXPECT_EQ(mails[2].timestamp, 0u);

    std::vector<CTask> tasks;
    EXPECT_TRUE(ScanTasks(store.context(), kTasksTable, tasks, FolderIdText(tasks_)));
    ASSERT_EQ(tasks.size(), 1u);
    EXPECT_EQ(tasks[0].itemId, u"0100000000000703") << "3745 is the last position examined";
    EXPECT_EQ(tasks[0].dateCopy, u"Tue 10/4/2007 01:39:07 PM");

    std::vector<CMailItem> none;
    EXPECT_TRUE(ScanMailItems(store.context(), kInboxTable, none, FolderIdText(tasks_)));
    EXPECT_TRUE(none.empty()) << "no record of this folder: an empty list, still a result";
    EXPECT_FALSE(ScanMailItems(store.context(), 999, none, FolderIdText(inbox_)));
}

}  // namespace
}  // namespace velmor
