#include <gtest/gtest.h>

#include <cerrno>
#include <map>
#include <vector>

#include "discovery/page_grouping.h"
#include "edb_writer/file_damage.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::DatabaseImage;
using testdb::Page;

// An image whose header names the bound and whose pages carry the given object ids.
DatabaseImage ImageOf(int32_t bound, const std::vector<int32_t>& objectIds) {
    DatabaseImage image;
    image.SetHighestObjectId(bound);
    for (int32_t objectId : objectIds) {
        image.AppendPage(Page(objectId));
    }
    return image;
}

std::map<int32_t, std::vector<int32_t>> PagesByObject(const RecoveredStore& store) {
    std::map<int32_t, std::vector<int32_t>> pages;
    for (const ObjectPageGroup& group : store.pageGroups.groups()) {
        EXPECT_EQ(group.pageCount, static_cast<int32_t>(group.pages.size()));
        pages[group.objectId] = group.pages;
    }
    return pages;
}

TEST(PageGroupingTest, GroupsFollowFirstAppearanceAndKeepPagesInFileOrder) {
    // 31 pages and the header fill exactly two chunks.
    std::vector<int32_t> ids(31, 0);
    ids[0] = 7;
    ids[1] = 5;
    ids[2] = 7;
    ids[3] = -4;
    ids[17] = 5;
    ids[20] = 30;
    ids[21] = 31;  // above the header's bound
    test::OpenedDatabase db(ImageOf(30, ids));
    GroupPagesByObject(db.context);

    EXPECT_EQ(db.file.maxObjectId, 30);
    std::vector<int32_t> order;
    for (const ObjectPageGroup& group : db.store.pageGroups.groups()) {
        order.push_back(group.objectId);
    }
    EXPECT_EQ(order, (std::vector<int32_t>{7, 5, 30}));
    EXPECT_EQ(PagesByObject(db.store)[7], (std::vector<int32_t>{0, 2}));
    EXPECT_EQ(PagesByObject(db.store)[5], (std::vector<int32_t>{1, 17}));
    EXPECT_EQ(db.sink.Matching("SetProgress"),
              (std::vector<std::string>{"SetProgressRange 0 2", "SetProgressPosition 0",
                                        "SetProgressPosition 0", "SetProgressPosition 1"}));
}

TEST(PageGroupingTest, UnusableHeaderBoundsFallBackToOneThousand) {
    for (int32_t bound : {0, -5, 41, 5000}) {
        // 40 pages besides the header: 41 whole pages, so 40 is the largest usable bound.
        std::vector<int32_t> ids(40, 0);
        ids[0] = 41;
        ids[1] = 999;
        ids[2] = 1000;
        ids[3] = 1001;
        test::OpenedDatabase db(ImageOf(bound, ids));
        GroupPagesByObject(db.context);
        EXPECT_EQ(db.file.maxObjectId, 1000) << bound;
        EXPECT_EQ(PagesByObject(db.store).size(), 3u) << bound;
    }
    std::vector<int32_t> ids(40, 0);
    ids[0] = 40;
    ids[1] = 41;
    test::OpenedDatabase db(ImageOf(40, ids));
    GroupPagesByObject(db.context);
    EXPECT_EQ(db.file.maxObjectId, 40);
    EXPECT_EQ(PagesByObject(db.store).count(41), 0u) << "a page above the bound is ignored";
}

// Page slots of a file cut to the given size, with every page claiming object 9.
std::vector<int32_t> GroupedPagesOfFileSize(uint64_t size) {
    test::OpenedDatabase db(ImageOf(9, std::vector<int32_t>(80, 9)));
    testdb::TruncateFile(db.path(), size);
    db.Open();
    GroupPagesByObject(db.context);
    return db.store.pageGroups.Find(9) ? db.store.pageGroups.Find(9)->pages
                                       : std::vector<int32_t>{};
}

TEST(PageGroupingTest, TheLastPageOrLessIsNeverReadAndShortChunksGiveOnlyWholeSlots) {
    const uint64_t chunk = kChunkSize;
    // Two whole chunks: page slots 0 to 31, pages -1 to 30 (the header's id is not 9).
    EXPECT_EQ(GroupedPagesOfFileSize(2 * chunk).back(), 30);
    EXPECT_EQ(GroupedPagesOfFileSize(2 * chunk + PAGE_SIZE).back(), 30);
    EXPECT_EQ(GroupedPagesOfFileSize(2 * chunk + 2 * PAGE_SIZE).back(), 32);
    // A slot counts when its object id field was read, even if the page is cut short.
    EXPECT_EQ(GroupedPagesOfFileSize(2 * chunk + PAGE_SIZE + 28).back(), 32);
    EXPECT_EQ(GroupedPagesOfFileSize(2 * chunk + PAGE_SIZE + 27).back(), 31);
    EXPECT_TRUE(GroupedPagesOfFileSize(PAGE_SIZE).empty());
    EXPECT_TRUE(GroupedPagesOfFileSize(0).empty());
}

// Reads that touch a bad sector return the bytes before it, then fail with EIO, as a disk's
// unreadable sectors do.
EdbFile::ReadFunction FailingAt(std::vector<int64_t> badSectors) {
    constexpr int64_t kSectorSize = 512;
    return [badSectors](int fd, void* buffer, size_t count, off_t offset) -> ssize_t {
        const int64_t end = offset + static_cast<int64_t>(count);
        for (int64_t sector : badSectors) {
            if (sector + kSectorSize > offset && sector < end) {
                if (sector <= offset) {
                    errno = EIO;
                    return -1;
                }
                count = static_cast<size_t>(sector - offset);
            }
        }
        return ::pread(fd, buffer, count, offset);
    };
}

TEST(PageGroupingTest, UnreadablePagesAreSkippedAndCountedAndThePassGoesOn) {
    // Inside page slot 5 of the first chunk, at the start of the second chunk and a whole
    // third chunk.
    std::vector<int64_t> bad = {5 * PAGE_SIZE + 1024, kChunkSize};
    for (int64_t slot = 32; slot < 48; ++slot) {
        bad.push_back(slot * PAGE_SIZE + 512);
    }
    std::vector<int32_t> expected;
    for (int32_t page = 0; page < 60; ++page) {
        const int32_t slot = page + 1;
        if (slot != 5 && slot != 16 && (slot < 32 || slot >= 48)) {
            expected.push_back(page);
        }
    }
    for (unsigned threads : {1U, 3U}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        test::OpenedDatabase db(ImageOf(9, std::vector<int32_t>(60, 9)));
        db.context.threads = threads;
        db.file.SetReadFunction(FailingAt(bad));
        GroupPagesByObject(db.context);

        EXPECT_EQ(PagesByObject(db.store)[9], expected);
        EXPECT_EQ(db.file.unreadablePages(), 18);
        EXPECT_EQ(db.file.maxObjectId, 9) << "the header page was read";

        db.Open();
        EXPECT_EQ(db.file.unreadablePages(), 0) << "the count starts again with each opening";
    }
}

TEST(PageGroupingTest, AStopEndsThePassBeforeTheNextChunk) {
    test::OpenedDatabase db(ImageOf(9, std::vector<int32_t>(80, 9)));
    db.stop.request();
    GroupPagesByObject(db.context);
    EXPECT_TRUE(db.store.pageGroups.empty());
}

}  // namespace
}  // namespace velmor
