// The full-file pass reads and scans blocks on several threads and merges them in file order:
// whatever the number of threads, every list and every window call must be the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/ordered_block_pass.h"
#include "discovery/processing_driver.h"
#include "discovery_lists.h"
#include "edb_writer/demo_store.h"
#include "edb_writer/file_time.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::StoreBuilder;

// Mailboxes whose folders each have a table of their own, the mails spread over them, ids
// that repeat: enough pages for dozens of blocks.
StoreBuilder SpreadStore() {
    StoreBuilder builder;
    testdb::EntryId repeated{};
    int mailCounter = 0;
    for (const char* owner : {"Ann Walker", "Bob Jones", "Carol Hughes"}) {
        const auto key = builder.AddMailbox(testdb::Mailbox{owner});
        for (int f = 0; f < 8; ++f) {
            testdb::Folder folder;
            folder.parent = key;
            folder.name = "Folder " + std::to_string(f);
            folder.containerClass = f == 7 ? "IPF.Contact" : "IPF.Note";
            const auto folderId = builder.AddFolder(folder);
            for (int m = 0; m < (f == 0 ? 400 : 60); ++m) {
                testdb::Item item;
                item.kind = f == 7 ? testdb::ItemKind::Contact : testdb::ItemKind::Mail;
                item.subject = std::string(owner) + " mail " + std::to_string(++mailCounter);
                item.sender = "Dan Ray";
                item.time = testdb::FileTimeFromUtc(2011, 5, 1 + m % 28, 9, m % 60, 0);
                item.contact.fullName = "Contact " + std::to_string(m);
                if (m % 9 == 4) {
                    item.id = repeated;
                }
                const auto id = builder.AddItem(folderId, item);
                if (mailCounter == 1) {
                    repeated = id;
                }
            }
        }
    }
    return builder;
}

void ExpectSameListsOnEveryThreadCount(EdbFile& file) {
    for (size_t limit : {size_t{0}, size_t{3}, MessageCandidates::kOthersLimit}) {
        const std::vector<std::string> one = test::DiscoveryLists(file, 1, limit);
        ASSERT_GT(one.size(), 100u);
        for (unsigned threads : {2U, 3U, 8U}) {
            SCOPED_TRACE("others limit " + std::to_string(limit) + ", " + std::to_string(threads) +
                         " threads");
            EXPECT_EQ(test::DiscoveryLists(file, threads, limit), one);
        }
    }
}

TEST(ParallelPassTest, EveryListOfWrittenStoresIsTheSameOnAnyNumberOfThreads) {
    {
        SCOPED_TRACE("demo store");
        test::OpenedDatabase db(testdb::BuildDemoStore());
        ExpectSameListsOnEveryThreadCount(db.file);
    }
    {
        SCOPED_TRACE("spread store");
        test::OpenedDatabase db(SpreadStore());
        ASSERT_GT(db.file.fileSize(), 32u * kChunkSize) << "too few blocks to share out";
        ExpectSameListsOnEveryThreadCount(db.file);
    }
}

// Asks for a stop when the pass reports the given chunk.
class StopAtChunk : public test::RecordingSink {
public:
    StopAtChunk(StopFlag& stop, int chunk) : stop_(stop), chunk_(chunk) {}
    void SetProgressPosition(int position) override {
        RecordingSink::SetProgressPosition(position);
        if (position == chunk_) {
            stop_.request();
        }
    }

private:
    StopFlag& stop_;
    int chunk_;
};

TEST(ParallelPassTest, AStopEndsThePassAtTheSameChunkOnAnyNumberOfThreads) {
    test::OpenedDatabase db(SpreadStore());
    std::vector<int32_t> oneThread;
    for (unsigned threads : {1U, 4U}) {
        RecoveredStore store;
        StopFlag stop;
        StopAtChunk sink(stop, 13);
        ProcessingContext context{db.file, store, sink, stop, threads};
        RunProcessingParts(context);
        std::vector<int32_t> pages;
        for (const ObjectPageGroup& group : store.pageGroups.groups()) {
            pages.insert(pages.end(), group.pages.begin(), group.pages.end());
        }
        // The stop is seen before the next chunk.
        EXPECT_EQ(pages.size(), 14u * kPagesPerChunk - 1) << "chunks 0 to 13 less the header";
        if (threads == 1) {
            oneThread = pages;
        } else {
            EXPECT_EQ(pages, oneThread);
            EXPECT_EQ(sink.calls.back(), "SetProgressPosition 13");
        }
    }
}

TEST(ParallelPassTest, BlocksAreMergedInOrderWhicheverThreadScansThem) {
    for (unsigned threads : {1U, 2U, 5U}) {
        for (size_t slots : {size_t{1}, size_t{3}, size_t{16}}) {
            std::vector<int64_t> scannedInto(slots, -1);
            std::vector<int64_t> merged;
            RunOrderedBlockPass(
                threads, slots,
                [&](int64_t block, size_t slot, unsigned worker) {
                    EXPECT_LT(worker, threads);
                    scannedInto[slot] = block;
                    return block < 40;
                },
                [&](int64_t block, size_t slot) {
                    EXPECT_EQ(scannedInto[slot], block) << "a later block took the slot";
                    merged.push_back(block);
                    return block != 25 || threads != 5;
                });
            std::vector<int64_t> expected;
            for (int64_t block = 0; block <= (threads == 5 ? 25 : 40); ++block) {
                expected.push_back(block);
            }
            EXPECT_EQ(merged, expected) << threads << " threads, " << slots << " slots";
        }
    }
}

}  // namespace
}  // namespace velmor
