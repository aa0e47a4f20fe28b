#include <gtest/gtest.h>

#include <string>
#include <utility>
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
    ScanFolderPage(test::ViewOf(page), kClassColumn, folders);
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

// The pages are scanned in blocks on several threads: the folders, the window calls and the
// page list must be those of one thread going page by page, also when a page cannot be read
// or a stop comes in the middle.
TEST(FolderTableScanTest, EveryThreadCountGivesWhatOneThreadGives) {
    constexpr int kPages = 230;
    testdb::DatabaseImage image;
    for (int page = 0; page < kPages; ++page) {
        const auto id = static_cast<uint64_t>(page) * 4;
        image.AppendPage(PageWith({Record(id + 0x100, 0x01, "F" + std::to_string(page), "IPF.Note"),
                                   Record(id + 0x101, id + 0x100, "G" + std::to_string(page), ""),
                                   Record(id + 0x102, 0x01, "", "IPF.Contact")}));
    }
    struct Outcome {
        std::vector<std::string> calls;
        std::vector<std::string> folders;
        bool released = false;
    };
    // stopAt: the progress position at which a stop is asked (0: none); unreadable: the page
    // whose reads fail (-1: none).
    const auto scan = [&](unsigned threads, int stopAt, int unreadable) {
        test::OpenedDatabase db(image);
        if (unreadable >= 0) {
            db.file.SetReadFunction([unreadable](int fd, void* buffer, size_t count, off_t offset) {
                if (offset == PageOffset(unreadable)) {
                    errno = EIO;
                    return ssize_t{-1};
                }
                return ::pread(fd, buffer, count, offset);
            });
        }
        // The table's pages in an order of their own: every seventh page, then the rest.
        for (int32_t page = 0; page < kPages; page += 7) {
            db.store.pageGroups.AddPage(8, page);
        }
        for (int32_t page = 0; page < kPages; ++page) {
            if (page % 7 != 0) {
                db.store.pageGroups.AddPage(8, page);
            }
        }
        db.store.schema.foldersTableId = 8;
        db.store.schema.containerClassColumn = kClassColumn;
        struct StopAt : test::RecordingSink {
            StopFlag* stop = nullptr;
            std::string call;
            void Add(std::string made) override {
                if (made == call) {
                    stop->request();
                }
                calls.push_back(std::move(made));
            }
        } sink;
        sink.stop = &db.stop;
        sink.call = "SetProgressPosition " + std::to_string(stopAt);
        ProcessingContext context{db.file, db.store, sink, db.stop, threads};
        ScanFolderTable(context);
        Outcome outcome{sink.calls, {}, db.store.pageGroups.Find(8)->pages.empty()};
        for (const FolderEntry& folder : db.store.folders) {
            outcome.folders.push_back(Utf16ToUtf8(folder.folderId + u" " + folder.parentId + u" " +
                                                  folder.containerClass + u" " +
                                                  folder.displayName));
        }
        return outcome;
    };
    for (const auto& [stopAt, unreadable] : {std::pair{0, -1}, std::pair{0, 150}, std::pair{77, -1},
                                             std::pair{140, 2}, std::pair{1, -1}}) {
        const Outcome one = scan(1, stopAt, unreadable);
        constexpr size_t kFoldersPerPage = 3;
        if (unreadable < 0) {
            const size_t pagesScanned = stopAt == 0 ? kPages : stopAt - 1;
            EXPECT_EQ(one.folders.size(), pagesScanned * kFoldersPerPage);
            EXPECT_EQ(one.released, stopAt == 0) << "a stop keeps the page list";
        } else if (stopAt == 0) {
            // Page 150 is the 162nd in the list: the scan reports it and ends there.
            EXPECT_EQ(one.folders.size(), 161 * kFoldersPerPage);
            EXPECT_EQ(one.calls.back(), "SetProgressPosition 162");
            EXPECT_TRUE(one.released);
        }
        for (unsigned threads : {2U, 3U, 8U}) {
            SCOPED_TRACE("stop at " + std::to_string(stopAt) + ", page " +
                         std::to_string(unreadable) + " unreadable, " + std::to_string(threads) +
                         " threads");
            const Outcome many = scan(threads, stopAt, unreadable);
            EXPECT_EQ(many.calls, one.calls);
            EXPECT_EQ(many.folders, one.folders);
            EXPECT_EQ(many.released, one.released);
        }
    }
}

}  // namespace
}  // namespace velmor
