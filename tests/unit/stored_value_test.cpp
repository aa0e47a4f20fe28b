#include <gtest/gtest.h>

#include <vector>

#include "edb/stored_value.h"
#include "edb/text_codec.h"

namespace velmor {
namespace {

PageView View(const std::vector<uint8_t>& bytes) {
    return PageView(bytes.data(), bytes.size());
}

TEST(HexKeyTest, RendersBytesAsUpperCaseHexAndRefusesBytesPastTheEnd) {
    const std::vector<uint8_t> bytes = {0x0A, 0xFF, 0x00, 0x7C};
    EXPECT_EQ(HexKey(View(bytes), 0, 3), u"0AFF00");
    EXPECT_EQ(HexKey(View(bytes), 0, 0), u"");
    EXPECT_EQ(HexKey(View(bytes), 0, -1), u"");
    EXPECT_EQ(HexKey(View(bytes), 2, 3), u"") << "would run past the end";
    EXPECT_EQ(HexKey(View(bytes), -1, 2), u"");

    PageBuffer page{};
    EXPECT_EQ(HexKey(page, 100, 16).size(), 32u);
    EXPECT_EQ(HexKey(page, PAGE_SIZE - 8, 8), u"0000000000000000");
    EXPECT_EQ(HexKey(page, PAGE_SIZE - 7, 8), u"");
}

TEST(DecodeStoredStringTest, ChoosesUtf16OrEightBitByTheWholeValue) {
    EXPECT_EQ(DecodeStoredString(View({0x41, 0x00, 0x42, 0x00}), 0, 4), u"AB");
    EXPECT_EQ(DecodeStoredString(View({0x41, 0x42, 0x43, 0x00}), 0, 4), u"ABC");
    EXPECT_EQ(DecodeStoredString(View({0x00, 0x41}), 0, 2), u"");
    EXPECT_EQ(DecodeStoredString(View({0x41, 0x00, 0x42}), 0, 3), u"A") << "odd length";
    EXPECT_EQ(DecodeStoredString(View({0x41, 0x00, 0x00, 0x00, 0x43, 0x00}), 0, 6), u"A");
    EXPECT_EQ(DecodeStoredString(View({0x41}), 0, 1), u"") << "one byte is too short";
    // A UTF-16 text whose first character is above U+00FF is UTF-16 too.
    EXPECT_EQ(DecodeStoredString(View({0x3A, 0x04, 0x00, 0x00}), 0, 4), u"\u043A");
}

TEST(DecodeStoredStringTest, EightBitTextIsWindows1252) {
    EXPECT_EQ(DecodeStoredString(View({0x80, 0x20, 0xE9, 0x9F}), 0, 4), u"\u20AC \u00E9\u0178");
}

TEST(DecodeStoredStringTest, TextCrossingThePageEndIsEmptyNotTruncated) {
    PageBuffer page{};
    page[PAGE_SIZE - 2] = 'H';
    page[PAGE_SIZE - 1] = 'i';
    EXPECT_EQ(DecodeStoredString(page, PAGE_SIZE - 2, 2), u"Hi");
    EXPECT_EQ(DecodeStoredString(page, PAGE_SIZE - 2, 3), u"");
}

TEST(NonZeroBytesAsTextTest, DropsZeroBytesSoUtf16LatinReadsAsLetters) {
    const std::vector<uint8_t> bytes = {'I', 0, 'P', 0, 'F', 0, 0, 0, '.', 0};
    EXPECT_EQ(NonZeroBytesAsText(bytes), u"IPF.");
}

TEST(TextCodecTest, Utf8RoundTripKeepsSupplementaryCharactersAndReplacesBrokenOnes) {
    const std::u16string text = u"Gr\u00FC\u00DFe \U0001F600 \u20AC";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8ToUtf16("a\xC3"), u"a\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xFF"
                          "b"),
              u"\uFFFDb");
}

}  // namespace
}  // namespace velmor
