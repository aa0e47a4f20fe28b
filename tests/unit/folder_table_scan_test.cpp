#include <gtest/gtest.h>

#include <vector>

#include "edb_writer/entry_id.h"
#include "edb_writer/folder_record.h"
#include "edb_writer/store_columns.h"
#include "edb_writer/stored_text.h"
#include "items/folder_table_scan.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::FolderHeaderForm;
using testdb::FolderRecord;
using testdb::Page;
using testdb::TaggedValue;
using testdb::TextEncoding;

constexpr int32_t kClassColumn = 300;

FolderRecord Record(uint64_t id, uint64_t parent, const std::string& name,
                    const std::string& containerClass,
                    FolderHeaderForm form = FolderHeaderForm::Long) {
    FolderRecord record;
    record.form = form;
    record.folderId = testdb::MakeEntryId(1, id);
    record.parentId = testdb::MakeEntryId(1, parent);
    record.values = {{testdb::fixed_column::kFolderMarker, {0, 0, 0, 0}},
                     {testdb::fixed_column::kFolderMarkerPartner, {1, 2}}};
    if (!name.empty()) {
        record.values.push_back({testdb::fixed_column::kFolderDisplayName,
                                 testdb::EncodeText(name, TextEncoding::Utf16)});
    }
    if (!containerClass.empty()) {
        record.values.push_back(
            {kClassColumn, testdb::EncodeText(containerClass, TextEncoding::Utf16)});
    }
    return record;
}

std::vector<FolderEntry> ScanPage(const Page& page) {
    std::vector<FolderEntry> folders;
    StopFlag stop;
    EXPECT_TRUE(ScanFolderPage(test::ViewOf(page), kClassColumn, stop, folders));
    return folders;
}

Page PageWith(const std::vector<FolderRecord>& records) {
    Page page(8);
    int64_t offset = 40;
    for (const FolderRecord& record : records) {
        const auto bytes = testdb::EncodeFolderRecord(record);
        page.PutBytes(offset, bytes);
        offset += static_cast<int64_t>(bytes.size()) + 2;
    }
    return page;
}

TEST(FolderTableScanTest, EachHeaderFormGivesIdsNameAndClass) {
    const auto folders =
        ScanPage(PageWith({Record(0x12, 0x01, "Inbox", "IPF.Note"),
                           Record(0x13, 0x12, "Contacts", "IPF.Contact", FolderHeaderForm::Short),
                           Record(0x14, 0x12, "Tasks", "", FolderHeaderForm::LongFlagged)}));
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[0].folderId, u"0100000000000012");
    EXPECT_EQ(folders[0].parentId, u"0100000000000001");
    EXPECT_EQ(folders[0].displayName, u"Inbox");
    EXPECT_TRUE(folders[0].containerClass.starts_with(u"IPF.Note"));
    EXPECT_EQ(folders[1].folderId, u"0100000000000013");
    EXPECT_EQ(folders[1].displayName, u"Contacts");
    EXPECT_TRUE(folders[1].containerClass.starts_with(u"IPF.Contact"));
    EXPECT_EQ(folders[2].parentId, u"0100000000000012");
    EXPECT_EQ(folders[2].containerClass, u"");
}

TEST(FolderTableScanTest, TheClassIsTheNonZeroBytesOfThirtyBytes) {
    const auto folders = ScanPage(PageWith({Record(0x12, 0x01, "", "IPF.Contact")}));
    ASSERT_FALSE(folders.empty());
    // 22 bytes of UTF-16 "IPF.Contact", then whatever non-zero bytes the next 8 hold.
    EXPECT_TRUE(folders[0].containerClass.starts_with(u"IPF.Contact"));
    EXPECT_LE(folders[0].containerClass.size(), 30u - 11u);
}

TEST(FolderTableScanTest, ARecordWithoutANameResumesAfterItsHeader) {
    const auto folders =
        ScanPage(PageWith({Record(0x20, 0x01, "", "IPF.Note"), Record(0x21, 0x20, "Next", "")}));
    ASSERT_GE(folders.size(), 2u);
    EXPECT_EQ(folders[0].displayName, u"");
    EXPECT_EQ(folders.back().displayName, u"Next");
    EXPECT_EQ(folders.back().folderId, u"0100000000000021");
}

TEST(FolderTableScanTest, WithoutAnIdWordInFourteenWordsIdsAreRead28BytesOn) {
    FolderRecord record = Record(0x30, 0x01, "Odd", "");
    record.runWords = std::vector<uint16_t>(13, 0x0900);
    record.runWords.push_back(24);  // the 14th word is taken as the directory distance
    const auto folders = ScanPage(PageWith({record}));
    ASSERT_EQ(folders.size(), 1u);
    EXPECT_EQ(folders[0].folderId, u"0100000000000030");
    EXPECT_EQ(folders[0].displayName, u"Odd");
}

TEST(FolderTableScanTest, DirectoriesNearThePageEndAreWalkedOnlyInsideThePage) {
    Page page(8);
    const auto bytes = testdb::EncodeFolderRecord(Record(0x40, 0x01, "Cut", "IPF.Note"));
    page.PutClipped(3900, bytes);
    const auto folders = ScanPage(page);
    for (const FolderEntry& folder : folders) {
        EXPECT_NE(folder.displayName, u"Cut") << "the name's bytes are not all on the page";
    }
}

TEST(FolderTableScanTest, AStopKeepsTheFoldersFoundAndThePageList) {
    testdb::DatabaseImage image;
    image.AppendPage(PageWith({Record(0x50, 0x01, "One", "")}));
    image.AppendPage(PageWith({Record(0x51, 0x01, "Two", "")}));
    for (int i = 0; i < 20; ++i) {
        image.AppendPage(Page(60));
    }
    test::OpenedDatabase db(image);
    db.store.pageGroups.AddPage(8, 0);
    db.store.pageGroups.AddPage(8, 1);
    db.store.schema.foldersTableId = 8;
    ScanFolderTable(db.context);
    EXPECT_EQ(db.store.folderCount(), 2u);
    EXPECT_TRUE(db.store.pageGroups.Find(8)->pages.empty());

    RecoveredStore stopped;
    stopped.pageGroups.AddPage(8, 0);
    stopped.pageGroups.AddPage(8, 1);
    stopped.schema.foldersTableId = 8;
    struct StopAfterFirstPage : test::RecordingSink {
        StopFlag* stop = nullptr;
        void Add(std::string call) override {
            if (call == "SetProgressPosition 2" && calls.size() > 2) {
                stop->request();
            }
            calls.push_back(std::move(call));
        }
    } sink;
    sink.stop = &db.stop;
    ProcessingContext context{db.file, stopped, sink, db.stop};
    ScanFolderTable(context);
    ASSERT_EQ(stopped.folders.size(), 1u);
    EXPECT_EQ(stopped.folders[0].displayName, u"One");
    EXPECT_EQ(stopped.pageGroups.Find(8)->pages.size(), 2u);
}

}  // namespace
}  // namespace velmor
