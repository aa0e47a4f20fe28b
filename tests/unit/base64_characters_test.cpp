#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "streaming/base64_characters.h"

namespace {

int64_t CountedOneByOne(const std::string& bytes, size_t from, size_t length) {
    int64_t above = 0;
    for (size_t i = from; i < from + length; ++i) {
        above += static_cast<signed char>(bytes[i]) > ' ';
    }
    return above;
}

// The vector loops count in blocks and sum their byte counters now and then: every start
// (alignment), every length around the vector widths and past a counter's 255, and every byte
// value must give the count a byte at a time gives.
TEST(Base64CharactersTest, CountsAsByteByByteForEveryStartLengthAndByteValue) {
    std::string bytes(40000, '\0');
    uint32_t state = 2463534242u;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    for (size_t from = 0; from < 64; ++from) {
        for (const size_t length : {0, 1, 15, 16, 17, 31, 32, 33, 63, 64, 65, 255 * 16, 255 * 32,
                                    255 * 32 + 31, 255 * 32 + 32, 255 * 32 + 33, 39000}) {
            EXPECT_EQ(
                velmor::CountBase64Characters(bytes.data() + from, static_cast<int64_t>(length)),
                CountedOneByOne(bytes, from, length))
                << "from " << from << ", length " << length;
        }
    }
}

// Base64 text only: a long run of counted bytes fills every byte counter to its limit.
TEST(Base64CharactersTest, CountsLongRunsOfBase64TextWithLineBreaks) {
    std::string text;
    while (text.size() < 100000) {
        text += std::string(76, 'Q') + "\r\n";
    }
    EXPECT_EQ(velmor::CountBase64Characters(text.data(), static_cast<int64_t>(text.size())),
              CountedOneByOne(text, 0, text.size()));
    const std::string letters(70000, '/');
    EXPECT_EQ(velmor::CountBase64Characters(letters.data(), 70000), 70000);
}

}  // namespace
