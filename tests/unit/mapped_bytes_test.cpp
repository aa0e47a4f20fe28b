#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "streaming/mapped_bytes.h"

namespace {

std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 131 + seed);
    }
    return bytes;
}

// Growing and shrinking move pages, not bytes: the bytes written stay, also across sizes that
// are no whole pages, and the memory stays page-aligned for the system's copies.
TEST(MappedBytesTest, KeepsItsBytesAcrossGrowingAndShrinking) {
    velmor::MappedBytes bytes(24 << 20);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes.data()) % 4096, 0u);
    bytes.Populate(24 << 20);
    const std::vector<uint8_t> written = Pattern(24 << 20, 7);
    std::memcpy(bytes.data(), written.data(), written.size());

    bytes.Resize(36 << 20);
    ASSERT_EQ(bytes.size(), size_t{36} << 20);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes.data()) % 4096, 0u);
    EXPECT_EQ(std::memcmp(bytes.data(), written.data(), written.size()), 0);
    bytes.data()[bytes.size() - 1] = 0xAB;  // the new pages can be written

    bytes.Resize(10000);
    ASSERT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(std::memcmp(bytes.data(), written.data(), 10000), 0);
    bytes.Resize(3 << 20);
    EXPECT_EQ(std::memcmp(bytes.data(), written.data(), 10000), 0);
}

// Empty bytes grow from nothing, and a swap hands the pages over with their bytes (the window
// keeps the pages of the last one closed for the next).
TEST(MappedBytesTest, StartsEmptyGrowsFromNothingAndHandsItsPagesOver) {
    velmor::MappedBytes bytes(0);
    EXPECT_EQ(bytes.size(), 0u);
    bytes.Resize(5000);
    ASSERT_EQ(bytes.size(), 5000u);
    std::memset(bytes.data(), 1, 5000);
    velmor::MappedBytes other(0);
    other.Swap(bytes);
    EXPECT_EQ(bytes.size(), 0u);
    ASSERT_EQ(other.size(), 5000u);
    EXPECT_EQ(other.data()[4999], 1);
    other.Resize(0);
    EXPECT_EQ(other.size(), 0u);
}

}  // namespace
