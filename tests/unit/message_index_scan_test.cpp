#include <gtest/gtest.h>

#include <deque>
#include <vector>

#include "edb_writer/entry_id.h"
#include "edb_writer/message_record.h"
#include "items/message_index_scan.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::MessageRecord;
using testdb::Page;

constexpr uint64_t kSomeTime = 128'000'000'000'000'000ull;  // in the year 2006

MessageRecord Record(uint64_t id, uint16_t first = 256, uint16_t second = 257) {
    MessageRecord record;
    record.time = kSomeTime;
    record.itemId = testdb::MakeEntryId(1, id);
    record.values = {{first, {'a', 'b'}}, {second, {'c'}}};
    record.layout.sortColumns = false;
    return record;
}

// Places a record so that its tagged directory starts at m.
void PutAt(Page& page, int64_t m, const MessageRecord& record) {
    page.PutClipped(m - testdb::kMessageDirectoryOffset, testdb::EncodeMessageRecord(record));
}

MessageIndex ScanPage(const Page& page, int64_t pageOffset = 0) {
    std::vector<MessageIndexEntry> found;
    FindMessageRecords(test::ViewOf(page), pageOffset, found);
    return MessageIndex(std::deque<MessageIndexEntry>(found.begin(), found.end()));
}

TEST(MessageIndexScanTest, EveryMarkerPairMakesAnEntryWithIdDateAndPosition) {
    Page page(19);
    const std::vector<std::pair<uint16_t, uint16_t>> pairs = {
        {256, 257}, {257, 259}, {259, 271}, {259, 260}};
    int64_t m = 100;
    for (size_t i = 0; i < pairs.size(); ++i) {
        PutAt(page, m + 800 * static_cast<int64_t>(i),
              Record(0x100 + i, pairs[i].first, pairs[i].second));
    }
    PutAt(page, 3300, Record(0x200, 256, 258));  // no marker pair
    const MessageIndex index = ScanPage(page, 8192);
    ASSERT_EQ(index.size(), 4u);
    EXPECT_EQ(index.entries()[0].itemId(), u"0100000000000100");
    EXPECT_EQ(index.entries()[0].recordPosition, 8192 + 100);
    EXPECT_EQ(index.entries()[3].recordPosition, 8192 + 100 + 2400);
    EXPECT_FALSE(index.entries()[0].dateText().empty());
    EXPECT_EQ(index.FindFirst(u"0100000000000103"), &index.entries()[3]);
}

TEST(MessageIndexScanTest, AfterAMatchTheNext47BytesAreSkipped) {
    Page page(19);
    page.Put16(200, 256);
    page.Put16(204, 257);
    page.Put16(246, 257);  // 46 bytes on: skipped
    page.Put16(250, 259);
    page.Put16(300, 259);  // 100 bytes on: found
    page.Put16(304, 271);
    EXPECT_EQ(ScanPage(page).size(), 2u);
}

TEST(MessageIndexScanTest, MarkersUpTo3995AreExamined) {
    Page last(19);
    last.Put16(3995, 256);
    last.Put16(3999, 257);
    EXPECT_EQ(ScanPage(last).size(), 1u);
    Page beyond(19);
    beyond.Put16(3996, 256);
    beyond.Put16(4000, 257);
    EXPECT_EQ(ScanPage(beyond).size(), 0u);
}

TEST(MessageIndexScanTest, ATimeFieldBeforeThePageStartGivesAnEmptyDate) {
    Page page(19);
    page.Put16(45, 256);
    page.Put16(49, 257);
    const MessageIndex index = ScanPage(page);
    ASSERT_EQ(index.size(), 1u);
    EXPECT_EQ(index.entries()[0].dateText(), u"");
    EXPECT_EQ(index.entries()[0].itemId().size(), 16u);
}

TEST(MessageIndexScanTest, RepeatedIdsAreAllKeptAndLookupsFindTheEarliest) {
    Page page(19);
    PutAt(page, 400, Record(7));
    PutAt(page, 1400, Record(8));
    PutAt(page, 2400, Record(7));
    const MessageIndex index = ScanPage(page);
    ASSERT_EQ(index.size(), 3u);
    EXPECT_EQ(index.FindFirst(u"0100000000000007")->recordPosition, 400);
    std::vector<int64_t> positions;
    index.ForEachWithId(u"0100000000000007", [&](const MessageIndexEntry& entry) {
        positions.push_back(entry.recordPosition);
        return true;
    });
    EXPECT_EQ(positions, (std::vector<int64_t>{400, 2400}));
    EXPECT_EQ(index.FindFirst(u"0100000000000009"), nullptr);
}

TEST(MessageIndexScanTest, TheTableIsFoundByItsObjectIdAndItsPagesAreReleased) {
    testdb::DatabaseImage image;
    Page page(44);
    PutAt(page, 500, Record(1));
    image.AppendPage(page);
    for (int i = 0; i < 20; ++i) {
        image.AppendPage(Page(60));
    }
    test::OpenedDatabase db(image);
    db.store.pageGroups.AddPage(44, 0);
    db.store.schema.msgTableObjectId = 44;
    const MessageIndexEntry* first = BuildMessageIndex(db.context);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->recordPosition, PageOffset(0) + 500);
    EXPECT_TRUE(db.store.pageGroups.Find(44)->pages.empty());
    EXPECT_EQ(db.sink.Matching("SetProgress"),
              (std::vector<std::string>{"SetProgressRange 0 100", "SetProgressPosition 1",
                                        "SetProgressPosition 2", "SetProgressRange 0 1",
                                        "SetProgressPosition 1"}));

    db.store.schema.msgTableObjectId = 45;
    EXPECT_EQ(BuildMessageIndex(db.context), nullptr);
}

}  // namespace
}  // namespace velmor
