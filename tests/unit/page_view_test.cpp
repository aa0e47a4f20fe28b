#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "edb/page_view.h"

namespace velmor {
namespace {

// The first i in [from, to) with bytes i and i + gap both equal to value, one byte at a time.
int64_t FirstPairByBytes(const std::vector<uint8_t>& bytes, uint8_t value, int64_t gap,
                         int64_t from, int64_t to) {
    const auto size = static_cast<int64_t>(bytes.size());
    for (int64_t i = std::max<int64_t>(from, 0); i < to && i + gap < size; ++i) {
        if (gap >= 0 && bytes[i] == value && bytes[i + gap] == value) {
            return i;
        }
    }
    return -1;
}

// Buffers where the byte is rare or common, of sizes around the 16- and 32-byte steps, searched
// from and to every kind of position, the buffer's ends and beyond them included.
TEST(PageViewTest, FindPairAgreesWithAByteByByteSearchAndNeverLooksOutside) {
    std::mt19937 random(7);
    for (int round = 0; round < 4000; ++round) {
        const auto size = static_cast<int64_t>(random() % 160);
        std::vector<uint8_t> bytes(static_cast<size_t>(size));
        const unsigned oneIn = 1 + random() % 4;
        for (uint8_t& byte : bytes) {
            byte = random() % oneIn == 0 ? 0x01 : static_cast<uint8_t>(random() % 3 + 2);
        }
        // A copy with no slack after it, so that a read past the end is seen by the sanitizer.
        const PageView view(bytes.data(), size);
        const int64_t from = static_cast<int64_t>(random() % 170) - 5;
        const int64_t to = static_cast<int64_t>(random() % 170) - 5;
        const int64_t gap = static_cast<int64_t>(random() % 8);
        EXPECT_EQ(view.findPair(0x01, gap, from, to), FirstPairByBytes(bytes, 0x01, gap, from, to))
            << "size " << size << " from " << from << " to " << to << " gap " << gap;
    }
    EXPECT_EQ(PageView().findPair(0x01, 4, 0, 100), -1);
}

}  // namespace
}  // namespace velmor
