#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <vector>

#include "discovery/discovery_worker.h"
#include "discovery/null_progress_sink.h"
#include "discovery/page_grouping.h"
#include "discovery_lists.h"
#include "edb_writer/file_damage.h"
#include "edb_writer/store_builder.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::StoreBuilder;

StoreBuilder TwoMailboxes() {
    StoreBuilder builder;
    for (const char* name : {"Ann Smith", "Bob Jones"}) {
        const auto key = builder.AddMailbox(testdb::Mailbox{name});
        for (int f = 0; f < 4; ++f) {
            testdb::Folder folder;
            folder.parent = key;
            folder.name = "Folder " + std::to_string(f);
            const auto id = builder.AddFolder(folder);
            for (int m = 0; m < 6; ++m) {
                testdb::Item mail;
                mail.subject = "Subject " + std::to_string(m);
                mail.sender = "Someone";
                builder.AddItem(id, mail);
            }
        }
    }
    return builder;
}

struct RunResult {
    bool noUserFound = false;
    size_t mailboxes = 0;
    size_t folders = 0;
};

RunResult Discover(test::OpenedDatabase& db) {
    test::RecordingWizard wizard;
    db.Open();
    DiscoveryWorker(db.context, wizard);
    return RunResult{!wizard.messages.empty(), db.store.mailboxes.entries().size(),
                     db.store.folders.size()};
}

// The page numbers of every page that carries the object id, read from the file itself.
std::vector<int32_t> PagesOf(const std::filesystem::path& path, int32_t objectId) {
    EdbFile file;
    file.OpenDatabase(path);
    RecoveredStore store;
    NullProgressSink sink;
    StopFlag stop;
    ProcessingContext context{file, store, sink, stop};
    GroupPagesByObject(context);
    const ObjectPageGroup* group = store.pageGroups.Find(objectId);
    return group ? group->pages : std::vector<int32_t>{};
}

TEST(DamagedInputTest, EveryTruncationAroundPageAndChunkBoundariesIsSurvived) {
    test::TempDir tmp;
    test::ScopedTmpDir tmpDir(tmp.path());
    const StoreBuilder builder = TwoMailboxes();
    uint64_t fullSize = 0;
    {
        test::OpenedDatabase db(builder);
        fullSize = std::filesystem::file_size(db.path());
        EXPECT_EQ(Discover(db).mailboxes, 2u);
    }
    for (uint64_t boundary = 0; boundary <= fullSize; boundary += PAGE_SIZE) {
        for (int64_t delta : {-1, 0, 1, 28}) {
            if (static_cast<int64_t>(boundary) + delta < 0) {
                continue;
            }
            test::OpenedDatabase db(builder);
            testdb::TruncateFile(db.path(), boundary + delta);
            const RunResult result = Discover(db);
            EXPECT_LE(result.mailboxes, 2u);
            EXPECT_EQ(result.noUserFound, result.mailboxes == 0) << boundary + delta;
            EXPECT_EQ(test::DiscoveryLists(db.file, 3), test::DiscoveryLists(db.file, 1))
                << boundary + delta;
        }
    }
}

TEST(DamagedInputTest, GarbageInTheMessageTableLeavesMailboxesAndFoldersIntact) {
    test::TempDir tmp;
    test::ScopedTmpDir tmpDir(tmp.path());
    test::OpenedDatabase db(TwoMailboxes());
    std::mt19937 random(20261207);
    for (int32_t page : PagesOf(db.path(), 19)) {
        std::vector<uint8_t> garbage(PAGE_SIZE - kPageHeaderSize);
        for (uint8_t& byte : garbage) {
            byte = static_cast<uint8_t>(random());
        }
        testdb::OverwriteFileBytes(db.path(), PageOffset(page) + kPageHeaderSize, garbage);
    }
    const RunResult result = Discover(db);
    EXPECT_EQ(result.mailboxes, 2u);
    EXPECT_EQ(result.folders, 8u);
}

TEST(DamagedInputTest, RandomPageBodiesAndRandomObjectIdsAreSurvived) {
    test::TempDir tmp;
    test::ScopedTmpDir tmpDir(tmp.path());
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        test::OpenedDatabase db(TwoMailboxes());
        const auto pages = static_cast<int32_t>(std::filesystem::file_size(db.path()) / PAGE_SIZE);
        for (int damaged = 0; damaged < 4; ++damaged) {
            const int32_t page = static_cast<int32_t>(random() % pages) - 1;
            std::vector<uint8_t> garbage(PAGE_SIZE);
            for (uint8_t& byte : garbage) {
                byte = static_cast<uint8_t>(random());
            }
            // Keep a plausible object id now and then, so the garbage reaches the scans.
            const int32_t objectId = static_cast<int32_t>(random() % 24);
            if (round % 2 == 0) {
                std::memcpy(garbage.data() + kObjectIdOffset, &objectId, sizeof objectId);
            }
            testdb::OverwriteFileBytes(db.path(), PageOffset(page), garbage);
        }
        const RunResult result = Discover(db);
        EXPECT_LE(result.mailboxes, 2u);
    }
}

// Pages of every scanned table filled with one repeating pattern, so that signatures sit at
// every position, the page ends included.
TEST(DamagedInputTest, SignaturesRepeatedUpToThePageEndAreSurvived) {
    test::TempDir tmp;
    test::ScopedTmpDir tmpDir(tmp.path());
    const std::vector<std::vector<uint8_t>> patterns = {
        {0xFF},
        {0x0F, 0x00, 0xC0, 0x00},
        {0x08, 0x00, 0x10, 0x00},
        {0x00, 0x01, 0x00, 0x00, 0x01, 0x01, 0x00, 0x00},
        {0x0D, 0x00, 0x00, 0x00},
        {0x04, 0x00, 0x09, 0x00, 0x01},
        {0x01, 0x00},
    };
    for (const auto& pattern : patterns) {
        testdb::DatabaseImage image;
        for (int32_t objectId : {2, 3, 21, 8, 19, 2, 3, 21, 8, 19}) {
            testdb::Page page(objectId);
            for (int64_t at = kPageHeaderSize; at < PAGE_SIZE; ++at) {
                page.Put8(at, pattern[static_cast<size_t>(at) % pattern.size()]);
            }
            image.AppendPage(page);
        }
        for (int i = 0; i < 20; ++i) {
            image.AppendPage(testdb::Page(30));
        }
        test::OpenedDatabase db(image);
        Discover(db);
    }
}

}  // namespace
}  // namespace velmor
