// An index built whole, its table's regions filled by several threads, must answer every
// lookup as an index whose entries were appended one by one.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "items/message_index.h"
#include "message_index_contents.h"

namespace velmor {
namespace {

MessageIndex AppendedOneByOne(const std::deque<MessageIndexEntry>& entries) {
    MessageIndex index;
    for (const MessageIndexEntry& entry : entries) {
        index.Append(entry);
    }
    return index;
}

void ExpectBuiltWholeAnswersAsAppended(const std::deque<MessageIndexEntry>& entries) {
    const std::vector<std::string> appended = test::IndexContents(AppendedOneByOne(entries));
    for (unsigned threads : {1U, 2U, 3U, 8U, 64U}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        MessageIndex whole(entries, threads);
        EXPECT_EQ(test::IndexContents(whole), appended);
        EXPECT_EQ(whole.FindFirst(u"FFFFFFFFFFFFFFF0"), nullptr);
        // Entries appended later still find their chains.
        whole.Append(entries.front());
        EXPECT_EQ(whole.size(), entries.size() + 1);
        int sameId = 0;
        whole.ForEachWithId(entries.front().itemId(), [&](const MessageIndexEntry&) {
            ++sameId;
            return true;
        });
        EXPECT_GE(sameId, 2);
    }
}

TEST(MessageIndexTest, AnIndexBuiltWholeOnSeveralThreadsAnswersAsOneAppendedEntryByEntry) {
    std::mt19937_64 random(20261208);
    std::deque<MessageIndexEntry> entries;
    for (int64_t i = 0; i < 50'000; ++i) {
        // Every seventh record repeats an earlier id.
        const uint64_t id = i % 7 == 3 ? entries[random() % entries.size()].itemIdValue : random();
        entries.push_back(MessageIndexEntry{id, static_cast<uint64_t>(i), i * 24});
    }
    ExpectBuiltWholeAnswersAsAppended(entries);
}

TEST(MessageIndexTest, IdsCrowdedIntoOneRegionAreStillAllIndexed) {
    // Ids whose hashes share their top bits all fall into the first of up to eight regions.
    std::deque<MessageIndexEntry> entries;
    for (uint64_t id = 1; entries.size() < 500; ++id) {
        if (MessageIdHash(id) >> 61 == 0) {
            entries.push_back(MessageIndexEntry{id, id, static_cast<int64_t>(id)});
        }
    }
    entries.push_back(entries[17]);
    ExpectBuiltWholeAnswersAsAppended(entries);
}

TEST(MessageIndexTest, ALargeBuildReportsItsProgressAndIsAbandonedWhenAsked) {
    std::deque<MessageIndexEntry> entries;
    for (int64_t i = 0; i < 200'000; ++i) {
        entries.push_back(MessageIndexEntry{static_cast<uint64_t>(i * 7919), 0, i});
    }
    for (unsigned threads : {1U, 2U}) {
        std::vector<size_t> reported;
        const MessageIndex whole(entries, threads, [&](size_t done, size_t total) {
            EXPECT_EQ(total, entries.size());
            reported.push_back(done);
            return true;
        });
        EXPECT_EQ(reported, (std::vector<size_t>{65'536, 131'072, 196'608}));
        EXPECT_EQ(whole.size(), entries.size());
        ASSERT_NE(whole.FindFirst(entries.back().itemId()), nullptr);

        int calls = 0;
        const MessageIndex abandoned(entries, threads, [&](size_t, size_t) {
            ++calls;
            return false;
        });
        EXPECT_EQ(calls, 1);
        EXPECT_TRUE(abandoned.empty());
        EXPECT_EQ(abandoned.FindFirst(entries.front().itemId()), nullptr);
    }
}

}  // namespace
}  // namespace velmor
