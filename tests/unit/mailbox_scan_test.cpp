#include <gtest/gtest.h>

#include <vector>

#include "discovery/fill_mailbox_list.h"
#include "discovery/mailbox_scan.h"
#include "edb_writer/mailbox_record.h"
#include "edb_writer/stored_text.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::MailboxRecord;
using testdb::Page;
using testdb::TextEncoding;

MailboxRecord Record(std::vector<uint8_t> key, const std::string& name,
                     TextEncoding encoding = TextEncoding::Utf16) {
    MailboxRecord record;
    record.key = std::move(key);
    record.displayName = testdb::EncodeText(name, encoding);
    return record;
}

std::vector<MailboxEntry> ScanPage(const Page& page) {
    MailboxList list;
    StopFlag stop;
    EXPECT_TRUE(ScanMailboxPage(test::ViewOf(page), stop, list));
    return list.entries();
}

Page PageWith(const std::vector<MailboxRecord>& records, int64_t offset = 40) {
    Page page(21);
    for (const MailboxRecord& record : records) {
        const auto bytes = testdb::EncodeMailboxRecord(record);
        page.PutBytes(offset, bytes);
        offset += static_cast<int64_t>(bytes.size()) + 5;
    }
    return page;
}

const std::vector<uint8_t> kKeyA = {0x01, 0x00, 0xAA, 0xBB, 0x10, 0x20, 0x30, 0x40};
const std::vector<uint8_t> kKeyB = {0x03, 0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};

TEST(MailboxScanTest, ReadsKeyAndNameInEitherEncodingAndKeepsTheFirstOfEqualKeys) {
    MailboxRecord flagged = Record(kKeyB, "Bob Brown", TextEncoding::Ansi);
    flagged.offsetFlags = 0x8;  // the upper bits of an offset are flags
    const auto entries =
        ScanPage(PageWith({Record(kKeyA, "Ann Smith"), flagged, Record(kKeyA, "Ann Again")}));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key, u"0100AABB10203040");
    EXPECT_EQ(entries[0].displayName, u"Ann Smith");
    EXPECT_EQ(entries[1].key, u"0300010203040506");
    EXPECT_EQ(entries[1].displayName, u"Bob Brown");
}

TEST(MailboxScanTest, EmptyNamesAreNotListedAndDoNotClaimTheirKey) {
    const auto entries = ScanPage(PageWith({Record(kKeyA, ""), Record(kKeyA, "Later")}));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].displayName, u"Later");
}

TEST(MailboxScanTest, WithoutAKeyWordInTenWordsTheKeyAndEntriesAreReadAtMarkerPlus71) {
    MailboxRecord record = Record({}, "Nobody");
    record.keyLengthField = 4;
    record.runWords = std::vector<uint16_t>(10, 0x0700);
    record.directoryDistance = 0;
    const auto entries = ScanPage(PageWith({record}));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].key.starts_with(u"0001")) << "the key is read from the entries";
    EXPECT_EQ(entries[0].key.size(), 8u);
    EXPECT_EQ(entries[0].displayName, u"Nobody");
}

TEST(MailboxScanTest, ValuesMustEndBeforeByte4090) {
    // The name is the record's last value; its end plus one is checked against 4090.
    const auto bytes = testdb::EncodeMailboxRecord(Record(kKeyA, "Edge of page"));
    const auto size = static_cast<int64_t>(bytes.size());
    Page fits(21);
    fits.PutBytes(4089 - size, bytes);
    EXPECT_EQ(ScanPage(fits).size(), 1u);
    Page past(21);
    past.PutBytes(4090 - size, bytes);
    EXPECT_TRUE(ScanPage(past).empty());
}

TEST(MailboxScanTest, AMarkerAt3995IsExaminedAndOneAt3996IsNot) {
    MailboxRecord record = Record(kKeyA, "Box");
    record.column256 = {};  // short enough to end before 4090 from either position
    const auto bytes = testdb::EncodeMailboxRecord(record);
    ASSERT_LE(3996 + static_cast<int64_t>(bytes.size()), 4089);
    Page last(21);
    last.PutBytes(3995, bytes);
    const auto entries = ScanPage(last);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].displayName, u"Box");
    Page past(21);
    past.PutBytes(3996, bytes);
    EXPECT_TRUE(ScanPage(past).empty());
}

TEST(MailboxScanTest, AStopLeavesTheMailboxesFoundAndThePageList) {
    testdb::DatabaseImage image;
    for (int i = 0; i < 3; ++i) {
        image.AppendPage(
            PageWith({Record({0x01, 0x00, 0, 0, 0, 0, 0, static_cast<uint8_t>(i)}, "Box")}));
    }
    for (int i = 0; i < 30; ++i) {
        image.AppendPage(Page(60));
    }
    test::OpenedDatabase db(image);
    db.store.pageGroups.AddPage(21, 0);
    db.store.pageGroups.AddPage(21, 1);
    db.store.pageGroups.AddPage(21, 2);
    db.store.schema.mailboxTableId = 21;

    // Stop once the second page's position is shown.
    struct StopAtSecondPage : test::RecordingSink {
        StopFlag* stop = nullptr;
        void Add(std::string call) override {
            if (call == "SetProgressPosition 2" && calls.size() > 3) {
                stop->request();
            }
            calls.push_back(std::move(call));
        }
    } sink;
    sink.stop = &db.stop;
    ProcessingContext context{db.file, db.store, sink, db.stop};
    ScanMailboxTable(context);
    EXPECT_EQ(db.store.mailboxes.entries().size(), 1u);
    EXPECT_EQ(db.store.pageGroups.Find(21)->pages.size(), 3u);
    EXPECT_EQ(sink.calls.front(), "SetProgressRange 0 100");
}

TEST(FillMailboxListTest, NumbersRowsAndPrefixesNamesWithoutTheWordMailbox) {
    test::OpenedDatabase db(testdb::DatabaseImage{});
    db.store.mailboxes.Append({u"01", u"Ann", {}});
    db.store.mailboxes.Append({u"02", u"Mailbox Bob", {}});
    db.store.mailboxes.Append({u"03", u"mailbox carl", {}});
    FillMailboxList(db.context);
    EXPECT_EQ(db.sink.calls, (std::vector<std::string>{
                                 "DeleteAllMailboxRows", "InsertMailboxRow 0 1 0",
                                 "SetMailboxRowName 0 Mailbox - Ann", "InsertMailboxRow 1 2 0",
                                 "SetMailboxRowName 1 Mailbox Bob", "InsertMailboxRow 2 3 0",
                                 "SetMailboxRowName 2 Mailbox - mailbox carl"}));
    EXPECT_EQ(db.store.mailboxes.entries()[0].displayName, u"Mailbox - Ann");
    EXPECT_EQ(db.store.listedMailboxCount, 3u);
}

}  // namespace
}  // namespace velmor
