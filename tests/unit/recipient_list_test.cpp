#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "browse/recipient_list.h"
#include "items/length_prefixed_text.h"

namespace velmor {
namespace {

// An address entry with a UTF-16LE name at byte 6.
void AddWideEntry(std::vector<uint8_t>& bytes, const std::u16string& name, bool terminated) {
    const size_t start = bytes.size();
    bytes.insert(bytes.end(), {0xE4, 0x04, 0, 0, 0, 0});
    for (char16_t c : name) {
        bytes.push_back(static_cast<uint8_t>(c));
        bytes.push_back(static_cast<uint8_t>(c >> 8));
    }
    if (terminated) {
        bytes.insert(bytes.end(), {0, 0});
    }
    bytes[start + 2] = static_cast<uint8_t>(bytes.size() - start - 1);
}

// An address entry with the type 'E' at byte 6, the 8-bit flag at byte 9, the name at 8.
void AddEightBitEntry(std::vector<uint8_t>& bytes, const std::string& name) {
    const size_t start = bytes.size();
    bytes.insert(bytes.end(), {0xE4, 0x04, 0, 0, 0, 0, 'E', 0});
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    bytes[start + 2] = static_cast<uint8_t>(bytes.size() - start - 1);
}

std::u16string Decode(const std::vector<uint8_t>& bytes, int64_t pos, int64_t len) {
    return JoinRecipientNames(DecodeRecipientNames(PageView(bytes), pos, len));
}

TEST(RecipientListTest, NamesOfBothEncodingsAreJoinedByASingleComma) {
    std::vector<uint8_t> block(16, 0x55);
    const auto pos = static_cast<int64_t>(block.size());
    AddWideEntry(block, u"Carol Hughes", true);
    AddEightBitEntry(block,
                     "d\xE9"
                     "bora");  // 8-bit text is Windows-1252
    const auto len = static_cast<int64_t>(block.size()) - pos;
    block.resize(4096, 0x55);
    EXPECT_EQ(Decode(block, pos, len), u"Carol Hughes,d\u00E9bora");
}

TEST(RecipientListTest, ANameEndsAtTheEndOfTheValueAtTheLatest) {
    std::vector<uint8_t> block;
    AddWideEntry(block, u"Emma", false);
    const auto len = static_cast<int64_t>(block.size());
    block.insert(block.end(), {'X', 0, 'Y', 0});  // bytes after the value, no terminator
    EXPECT_EQ(Decode(block, 0, len), u"Emma");

    std::vector<uint8_t> eightBit;
    AddEightBitEntry(eightBit, "Frank");
    eightBit.back() = 'Z';  // the terminator overwritten
    const auto eightBitLength = static_cast<int64_t>(eightBit.size());
    eightBit.insert(eightBit.end(), 20, 'Q');
    EXPECT_EQ(Decode(eightBit, 0, eightBitLength), u"FrankZ");
}

TEST(RecipientListTest, LengthsOutsideTheBlockGiveNoNames) {
    std::vector<uint8_t> block;
    AddWideEntry(block, u"Grace", true);
    block.resize(4096);
    EXPECT_EQ(Decode(block, 0, 0), u"");
    EXPECT_EQ(Decode(block, 100, 4096 - 100), u"");
}

TEST(LengthPrefixedTextTest, TheCountByteSelectsTheNonZeroBytesThatFollow) {
    const std::vector<uint8_t> sender = {1, 2, 3, 4, 6, 'A', 0, 'n', 0, 'n', 0, 'x'};
    const PageView view(sender);
    EXPECT_EQ(DecodeLengthPrefixedText(view, 0, 11), u"Ann");
    EXPECT_EQ(DecodeLengthPrefixedText(view, 0, 6), u"") << "the count must be below the length";
    const std::vector<uint8_t> single = {0, 0, 0, 0, 1, 'A', 0};
    EXPECT_EQ(DecodeLengthPrefixedText(PageView(single), 0, 6), u"") << "a count of 1 is empty";
}

}  // namespace
}  // namespace velmor
