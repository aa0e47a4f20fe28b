#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "browsed_store.h"
#include "edb_writer/file_time.h"
#include "edb_writer/folder_message_record.h"
#include "edb_writer/store_columns.h"
#include "items/folder_item_scanners.h"
#include "local_time_zone.h"

namespace velmor {
namespace {

using testdb::EntryId;
using testdb::TaggedValue;

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

// A record's marker alone: the pair (256, 257) with empty offsets, which decoders skip.
void PutMarker(testdb::Page& page, int64_t m) {
    page.Put16(m, 256);
    page.Put16(m + 4, 257);
}

template <typename Record>
std::vector<std::u16string> ItemIds(const std::vector<Record>& records) {
    std::vector<std::u16string> ids;
    for (const Record& record : records) {
        ids.push_back(record.itemId);
    }
    return ids;
}

std::u16string IdText(const EntryId& id) {
    return Utf8ToUtf16(testdb::HexText(id));
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
    std::u16string FolderIdText(const EntryId& id) const { return IdText(id); }
    // A mail record of the inbox: the marker columns, then the given values.
    testdb::FolderMessageRecord InboxMail(uint64_t counter, std::vector<TaggedValue> values,
                                          bool sorted = true) const {
        testdb::FolderMessageRecord record;
        record.time = time_;
        record.folderId = inbox_;
        record.itemId = testdb::MakeEntryId(1, counter);
        record.values = {{testdb::fixed_column::kChangeMarker, std::vector<uint8_t>(8, 0)},
                         {testdb::fixed_column::kSize, std::vector<uint8_t>(4, 0)}};
        record.values.insert(record.values.end(), values.begin(), values.end());
        record.layout.sortColumns = sorted;
        record.layout.dataStart = 0;
        return record;
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

TEST_F(FolderItemScannerTest, TheFirstSenderColumnWinsAndAColumnBelowThePreviousOneEndsTheRecord) {
    namespace col = testdb::fixed_column;
    const auto text = [](uint16_t column, const char* value) {
        return TaggedValue{column, testdb::EncodeText(value, testdb::TextEncoding::Utf16)};
    };
    const auto prefixed = [](const char* value) {
        return TaggedValue{col::kPrefixedSender,
                           testdb::EncodeLengthPrefixedText(value, testdb::TextEncoding::Utf16)};
    };
    const std::vector<testdb::FolderMessageRecord> records = {
        InboxMail(0x801, {prefixed("Carol Hughes"), text(col::kSender, "David Moore")}),
        InboxMail(0x802, {prefixed(""), text(col::kSender, "David Moore")}),
        InboxMail(0x803, {text(col::kSender, "David Moore"), prefixed("Carol Hughes")}, false),
        // Equal columns go on; the sender after the subject is below it and is never read.
        InboxMail(0x804,
                  {text(col::kSubjectPrefix, "RE: "), text(col::kSubjectPrefix, "FW: "),
                   text(col::kSubject, "Budget"), text(col::kSender, "Late Sender")},
                  false),
    };
    testdb::DatabaseImage image = builder_.Build();
    testdb::Page& page = image.AddPage(kInboxTable);
    int64_t offset = testdb::kPageBodyStart;
    for (const testdb::FolderMessageRecord& record : records) {
        const auto bytes = testdb::EncodeFolderMessageRecord(record);
        page.PutBytes(offset, bytes);
        offset += static_cast<int64_t>(bytes.size()) + 8;
    }
    test::BrowsedStore store(image);

    std::vector<CMailItem> mails;
    EXPECT_TRUE(ScanMailItems(store.context(), kInboxTable, mails, FolderIdText(inbox_)));
    ASSERT_EQ(mails.size(), 4u);
    EXPECT_EQ(mails[0].senderName, u"Carol Hughes") << "258 before 264";
    EXPECT_EQ(mails[1].senderName, u"David Moore") << "an empty 258 leaves the sender to 264";
    EXPECT_EQ(mails[2].senderName, u"David Moore") << "264 before 258";
    EXPECT_EQ(mails[3].subjectPrefix, u"RE: ");
    EXPECT_EQ(mails[3].subject, u"Budget");
    EXPECT_EQ(mails[3].senderName, u"");
}

constexpr int32_t kMailTable = 300;
constexpr int32_t kTaskTable = 301;
constexpr int32_t kOrderedTable = 302;

TEST(ItemScanResumeTest, ScansGoOnOneByteAfterTheDirectoryEntriesTheDecoderWalked) {
    // Records of the all-zero folder id whose directories hold nothing but their marker: the
    // mail decoder walks two entries (column 0 ends it), a task decoder all 80 (entries with
    // offset 0 are skipped, whatever their column). Markers of the same folder lie inside and
    // right after those walks; whatever lies between them reads as zero ids.
    const EntryId zero{};
    const EntryId first = testdb::MakeEntryId(1, 0xA1);
    const EntryId second = testdb::MakeEntryId(1, 0xA2);
    testdb::Page page(kMailTable);
    PutRecord(page, 200, zero, first, 0);
    PutMarker(page, 240);  // inside the task walk from 200
    PutMarker(page, 521);  // one byte after it
    PutRecord(page, 1000, zero, second, 0);
    PutMarker(page, 1320);  // the first entry past the task walk from 1000

    // Ascending columns up to entry 10, which holds the marker of a record of the same folder
    // (its folder id is entries 2 and 3): the mail decoder stops at its lower column 256.
    testdb::Page ordered(kOrderedTable);
    for (int64_t entry = 208; entry < 240; entry += 4) {
        ordered.Put16(entry, 0x0300);
    }
    PutMarker(ordered, 240);
    EntryId orderedFolder{};
    std::copy_n(ordered.bytes().begin() + 208, orderedFolder.size(), orderedFolder.begin());
    const EntryId third = testdb::MakeEntryId(1, 0xA3);
    PutRecord(ordered, 200, orderedFolder, third, 0);

    testdb::DatabaseImage image;
    image.AppendPage(page);
    page.SetObjectId(kTaskTable);
    image.AppendPage(page);
    image.AppendPage(ordered);
    image.AppendPage(testdb::Page());
    test::OpenedDatabase db(image);
    db.store.pageGroups.AddPage(kMailTable, 0);
    db.store.pageGroups.AddPage(kTaskTable, 1);
    db.store.pageGroups.AddPage(kOrderedTable, 2);

    const std::u16string none = IdText(zero);
    std::vector<CMailItem> mails;
    EXPECT_TRUE(ScanMailItems(db.context, kMailTable, mails, none));
    EXPECT_EQ(ItemIds(mails),
              (std::vector<std::u16string>{IdText(first), none, none, IdText(second), none}));
    std::vector<CTask> tasks;
    EXPECT_TRUE(ScanTasks(db.context, kTaskTable, tasks, none));
    EXPECT_EQ(ItemIds(tasks), (std::vector<std::u16string>{IdText(first), none, IdText(second)}))
        << "the markers at 240 and 1320 are not examined";
    std::vector<CMailItem> ordering;
    EXPECT_TRUE(ScanMailItems(db.context, kOrderedTable, ordering, IdText(orderedFolder)));
    EXPECT_EQ(ItemIds(ordering), std::vector<std::u16string>{IdText(third)})
        << "the entry the decoder stopped at is not examined";
}

}  // namespace
}  // namespace velmor
