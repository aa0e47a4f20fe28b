// The index's hash table must answer every lookup as a plain map from id to the entries that
// carry it.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "items/message_index.h"
#include "message_index_contents.h"

namespace velmor {
namespace {

// What test::IndexContents makes of an index, from a map of each id's record positions.
std::vector<std::string> ExpectedContents(const std::deque<MessageIndexEntry>& entries) {
    std::map<uint64_t, std::string> chains;
    for (const MessageIndexEntry& entry : entries) {
        chains[entry.itemIdValue] += " " + std::to_string(entry.recordPosition);
    }
    std::vector<std::string> lines;
    for (const MessageIndexEntry& entry : entries) {
        lines.push_back(std::to_string(entry.itemIdValue) + " " + std::to_string(entry.fileTime) +
                        " " + std::to_string(entry.recordPosition) + " chain" +
                        chains[entry.itemIdValue]);
    }
    return lines;
}

void ExpectAnswersAsAMap(const std::deque<MessageIndexEntry>& entries) {
    const MessageIndex index(entries);
    EXPECT_EQ(test::IndexContents(index), ExpectedContents(entries));
    EXPECT_EQ(index.FindFirst(u"FFFFFFFFFFFFFFF0"), nullptr);
    EXPECT_EQ(index.FindFirst(u"not an id"), nullptr);
}

TEST(MessageIndexTest, EveryIdFindsAllItsEntriesInOrder) {
    std::mt19937_64 random(20261208);
    std::deque<MessageIndexEntry> entries;
    for (int64_t i = 0; i < 50'000; ++i) {
        // Every seventh record repeats an earlier id.
        const uint64_t id = i % 7 == 3 ? entries[random() % entries.size()].itemIdValue : random();
        entries.push_back(MessageIndexEntry{id, static_cast<uint64_t>(i), i * 24});
    }
    ExpectAnswersAsAMap(entries);
}

// The id whose MessageIdHash is the given hash: the hash's steps undone one by one.
uint64_t IdOfHash(uint64_t hash) {
    constexpr uint64_t kMultiplier = 0xff51afd7ed558ccdULL;
    uint64_t inverse = kMultiplier;  // Newton's steps towards the multiplier's inverse mod 2^64
    for (int step = 0; step < 5; ++step) {
        inverse *= 2 - kMultiplier * inverse;
    }
    hash ^= hash >> 33;
    hash *= inverse;
    return hash ^ (hash >> 33);
}

TEST(MessageIndexTest, IdsWhoseHashesShareTheirTagAndHomeSlotAreToldApart) {
    std::deque<MessageIndexEntry> entries;
    // Hashes equal in the upper half and in the low bits that choose the slot, differing in
    // the bits between.
    for (uint64_t i = 0; i < 40; ++i) {
        const uint64_t id = IdOfHash(0x1234567800000000ULL | (i << 24) | 0x5A5A);
        ASSERT_EQ(MessageIdHash(id), 0x1234567800000000ULL | (i << 24) | 0x5A5A);
        entries.push_back(MessageIndexEntry{id, i, static_cast<int64_t>(i) * 100});
        if (i % 3 == 0) {
            entries.push_back(MessageIndexEntry{id, i, static_cast<int64_t>(i) * 100 + 1});
        }
    }
    ExpectAnswersAsAMap(entries);
}

TEST(MessageIndexTest, ALargeBuildReportsItsProgressAndIsAbandonedWhenAsked) {
    std::deque<MessageIndexEntry> entries;
    for (int64_t i = 0; i < 200'000; ++i) {
        entries.push_back(MessageIndexEntry{static_cast<uint64_t>(i * 7919), 0, i});
    }
    std::vector<size_t> reported;
    const MessageIndex whole(entries, [&](size_t done, size_t total) {
        EXPECT_EQ(total, entries.size());
        reported.push_back(done);
        return true;
    });
    EXPECT_EQ(reported, (std::vector<size_t>{65'536, 131'072, 196'608}));
    EXPECT_EQ(whole.size(), entries.size());
    ASSERT_NE(whole.FindFirst(entries.back().itemId()), nullptr);

    int calls = 0;
    const MessageIndex abandoned(entries, [&](size_t, size_t) {
        ++calls;
        return false;
    });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(abandoned.empty());
    EXPECT_EQ(abandoned.FindFirst(entries.front().itemId()), nullptr);
}

TEST(MessageIndexTest, ATableTakenFromTheSystemInSlicesReportsEachSliceFirst) {
    // 2.1 million entries need a table of 2^23 slots, 64 MiB: two slices of 32 MiB.
    std::deque<MessageIndexEntry> entries;
    for (int64_t i = 0; i < 2'100'000; ++i) {
        entries.push_back(MessageIndexEntry{static_cast<uint64_t>(i) * 0x9E3779B9, 0, i});
    }
    std::vector<size_t> reported;
    const MessageIndex index(entries, [&](size_t done, size_t total) {
        EXPECT_EQ(total, 2 * 65'536 + entries.size());
        reported.push_back(done);
        return true;
    });
    ASSERT_EQ(reported.size(), 2 + (entries.size() - 1) / 65'536);
    for (size_t i = 0; i < reported.size(); ++i) {
        EXPECT_EQ(reported[i], (i + 1) * 65'536);
    }
    EXPECT_EQ(index.FindFirst(entries[1'234'567].itemId()), &index.entries()[1'234'567]);
}

}  // namespace
}  // namespace velmor
