#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "body/compressed_rtf.h"
#include "body/rtf_body.h"
#include "edb/text_codec.h"
#include "edb_writer/rtf_compressor.h"

namespace velmor {
namespace {

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int value : values) {
        bytes.push_back(static_cast<uint8_t>(value));
    }
    return bytes;
}

// The compressed example of the public description of the format.
const std::vector<uint8_t> kPublishedExample =
    Bytes({0x2D, 0x00, 0x00, 0x00, 0x2B, 0x00, 0x00, 0x00, 0x4C, 0x5A, 0x46, 0x75, 0xF1,
           0xC5, 0xC7, 0xA7, 0x03, 0x00, 0x0A, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32,
           0x35, 0x42, 0x32, 0x0A, 0xF3, 0x20, 0x68, 0x65, 0x6C, 0x09, 0x00, 0x20, 0x62,
           0x77, 0x05, 0xB0, 0x6C, 0x64, 0x7D, 0x0A, 0x80, 0x0F, 0xA0});
// A second one, from a widely used independent implementation.
const std::vector<uint8_t> kTestExample =
    Bytes({0x23, 0x00, 0x00, 0x00, 0x22, 0x00, 0x00, 0x00, 0x4C, 0x5A, 0x46, 0x75, 0x33,
           0x5C, 0xE8, 0x74, 0x03, 0x00, 0x0A, 0x00, 0x72, 0x63, 0x70, 0x67, 0x31, 0x32,
           0x35, 0x92, 0x32, 0x0A, 0xF3, 0x20, 0x74, 0x07, 0x90, 0x74, 0x7D, 0x0F, 0x10});

TEST(CompressedRtfTest, PublishedExamplesDecompressWithMatchingCrc) {
    const DecompressedRtf hello = DecompressRtf(kPublishedExample);
    EXPECT_TRUE(hello.known);
    EXPECT_TRUE(hello.crcMatches);
    EXPECT_TRUE(hello.complete);
    EXPECT_EQ(hello.rtf, "{\\rtf1\\ansi\\ansicpg1252\\pard hello world}\r\n");

    const DecompressedRtf test = DecompressRtf(kTestExample);
    EXPECT_TRUE(test.crcMatches);
    EXPECT_EQ(test.rtf, "{\\rtf1\\ansi\\ansicpg1252\\pard test}");
}

TEST(CompressedRtfTest, DamageIsReportedAndWhatDecompressedIsKept) {
    std::vector<uint8_t> damaged = kPublishedExample;
    damaged[30] ^= 0x40;
    const DecompressedRtf crc = DecompressRtf(damaged);
    EXPECT_FALSE(crc.crcMatches);
    EXPECT_TRUE(crc.rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252"));

    std::vector<uint8_t> cut(kPublishedExample.begin(), kPublishedExample.begin() + 30);
    const DecompressedRtf shortened = DecompressRtf(cut);
    EXPECT_FALSE(shortened.complete);
    EXPECT_TRUE(shortened.rtf.starts_with("{\\rtf1\\ansi"));

    EXPECT_FALSE(DecompressRtf(Bytes({1, 2, 3})).known);
    EXPECT_FALSE(DecompressRtf(std::vector<uint8_t>(16, 0)).known);
}

TEST(CompressedRtfTest, WriterCompressorRoundTripsThroughTheReader) {
    const std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\fromtext \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
        "\\pard\\plain\\f0\\fs20 Dear team,\\par The quarterly figures are attached. The "
        "quarterly figures are attached.\\par aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa"
        "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\\par}";
    const std::vector<uint8_t> compressed = testdb::CompressRtf(rtf);
    EXPECT_LT(compressed.size(), rtf.size());
    const DecompressedRtf back = DecompressRtf(compressed);
    EXPECT_TRUE(back.crcMatches);
    EXPECT_TRUE(back.complete);
    EXPECT_EQ(back.rtf, rtf);

    std::string longer;
    for (int i = 0; i < 300; ++i) {
        longer += "line " + std::to_string(i) + " of a body that wraps the dictionary\\par ";
    }
    EXPECT_EQ(DecompressRtf(testdb::CompressRtf(longer)).rtf, longer);

    const DecompressedRtf raw = DecompressRtf(testdb::StoreRtfUncompressed(rtf));
    EXPECT_TRUE(raw.known);
    EXPECT_TRUE(raw.complete);
    EXPECT_EQ(raw.rtf, rtf);
}

std::string Utf8(const RtfBody& body) {
    return Utf16ToUtf8(body.text);
}

TEST(RtfBodyTest, WrappedHtmlIsRecoveredWithoutTheRtfOnlyParts) {
    const RtfBody body = ReadRtfBody(
        "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
        "{\\*\\htmltag19 <html>}{\\*\\htmltag34 <head>}{\\*\\htmltag41 </head>}"
        "{\\*\\htmltag50 <body>}\\htmlrtf {\\htmlrtf0 \r\n"
        "{\\*\\htmltag64 <p>}Caf\\'e9 \\{ok\\}\\htmlrtf \\par\\htmlrtf0 "
        "{\\*\\htmltag72 </p>}\\u8364?{\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}}}");
    EXPECT_EQ(body.origin, RtfOrigin::Html);
    EXPECT_EQ(Utf8(body),
              "<html><head></head><body><p>Caf\xC3\xA9 {ok}</p>\xE2\x82\xAC</body></html>");
}

TEST(RtfBodyTest, WrappedTextAndOwnRtfBecomePlainText) {
    const RtfBody text = ReadRtfBody(
        "{\\rtf1\\ansi\\fromtext \\deff0{\\fonttbl{\\f0 Courier;}}{\\colortbl;\\red0;}"
        "Line one\\par\r\nLine\\tab two\\line end}");
    EXPECT_EQ(text.origin, RtfOrigin::Text);
    EXPECT_EQ(Utf8(text), "Line one\nLine\ttwo\nend");

    const RtfBody own = ReadRtfBody(
        "{\\rtf1\\ansi{\\info{\\title Hidden}}{\\*\\generator Writer;}\\uc2 "
        "Gr\\u252\\'fc\\'fc\\'dfe \\u-4064??x\\par{\\pict abcdef}\\b Bold\\b0\\~end}");
    EXPECT_EQ(own.origin, RtfOrigin::Rtf);
    EXPECT_EQ(Utf8(own),
              "Gr\xC3\xBC\xC3\x9F"
              "e \xEF\x80\xA0x\nBold\xC2\xA0"
              "end");
}

TEST(RtfBodyTest, EightBitTextIsReadInTheDocumentsCodePage) {
    // "Privet" in Cyrillic (Windows-1251), and two characters of Shift JIS (932).
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}")),
              "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82");
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b}")),
              "\xE6\x97\xA5\xE6\x9C\xAC");
    // An unknown code page reads as Windows-1252.
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\ansicpg99999 caf\\'e9}")), "caf\xC3\xA9");
}

TEST(RtfBodyTest, UnbalancedAndTruncatedInputStillGivesText) {
    EXPECT_EQ(Utf8(ReadRtfBody("}}}{\\rtf1 abc\\")), "abc");
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 x\\'4")), "x");
    EXPECT_EQ(Utf8(ReadRtfBody(std::string(100, '{') + "deep")), "deep");
}

TEST(RtfBodyTest, EightBitTextIsReadInItsFontsCodePage) {
    const std::string fonts =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
        "{\\f1\\fnil\\fcharset204 Arial CYR;}{\\f2\\fnil\\fcharset238\\cpg1253 Greek;}}";
    // A Cyrillic font (204) inside the group, the Western one (0) after it; \cpgN wins over
    // the character set.
    EXPECT_EQ(Utf8(ReadRtfBody(fonts + "Caf\\'e9 {\\f1 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2} "
                                       "\\'e9 \\f2\\'e1\\'e2}")),
              "Café Привет é αβ");
    // The default font's character set holds for text before any \fN.
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset161 Greek;}}"
                               "\\'e1\\'e2}")),
              "αβ");
    // Double-byte text in a Japanese font (128).
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\ansi{\\fonttbl{\\f3\\fcharset128 MS Gothic;}}"
                               "\\f3\\'93\\'fa\\'96\\'7b}")),
              "日本");
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\ansi\\ansicpg65001 \\'d0\\'9f\\'d1\\'80}")), "Пр");
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\mac caf\\'8e}")), "café");
}

TEST(RtfBodyTest, UnicodeFallbackIsCountedInCharactersAndEndsWithItsGroup) {
    // A huge count inside a group skips no further than the group's end.
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 a{\\uc9999\\u8364 x}b c}")), "a€b c");
    // A control word and a \'hh escape count as one character each.
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\uc2\\u8364\\'80\\'80X\\uc1\\u8364\\tab Y}")), "€X€Y");
    // \ucN is restored at the group's end.
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1{\\uc0\\u8364}\\u8364?Z}")), "€€Z");
}

TEST(RtfBodyTest, NothingAfterAControlWordOrACutEscapeIsLost) {
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 A\\tab-B total\\~-5\\line-x}")), "A\t-B total\u00A0-5\n-x");
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 x\\'4zy}")), "xzy");
    // A cut escape right before '}' leaves the group closed.
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 {\\*\\unknown \\'}visible}")), "visible");
}

TEST(RtfBodyTest, GroupsTooDeepAreDroppedNotLeaked) {
    const std::string deep = std::string(300, '{') + "secret" + std::string(300, '}');
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 {\\*\\hidden " + deep + "}shown}")), "shown");
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1 " + deep + "shown}")), "shown");
}

TEST(RtfBodyTest, TablesPagesAndSectionsKeepTheirSeparators) {
    EXPECT_EQ(Utf8(ReadRtfBody("{\\rtf1\\trowd Name\\cell Value\\cell\\row\\trowd Alice\\cell "
                               "42\\cell\\row a\\page b\\sect c}")),
              "Name\tValue\t\nAlice\t42\t\na\nb\nc");
}

TEST(RtfBodyTest, WrappingWordsCountOnlyInTheHeader) {
    const RtfBody late = ReadRtfBody("{\\rtf1\\ansi Plain \\fromhtml1 text}");
    EXPECT_EQ(late.origin, RtfOrigin::Rtf);
    EXPECT_EQ(Utf8(late), "Plain text");
    EXPECT_EQ(ReadRtfBody("{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}\\fromtext x}").origin,
              RtfOrigin::Text);
}

TEST(RtfBodyTest, MhtmlTagsReplaceTheirHtmlTags) {
    const std::string head = "{\\rtf1\\ansi\\fromhtml1 {\\*\\htmltag64 <p>}";
    EXPECT_EQ(Utf8(ReadRtfBody(head + "{\\*\\htmltag84 <img src=\"cid:a\">}"
                                      "{\\*\\mhtmltag84 <img src=\"a.png\">}}")),
              "<p><img src=\"a.png\">");
    EXPECT_EQ(Utf8(ReadRtfBody(head + "{\\*\\mhtmltag84 <img src=\"a.png\">}"
                                      "{\\*\\htmltag84 <img src=\"cid:a\">}}")),
              "<p><img src=\"a.png\">");
    EXPECT_EQ(Utf8(ReadRtfBody(head + "{\\*\\htmltag84 <img src=\"cid:a\">}}")),
              "<p><img src=\"cid:a\">");
}

}  // namespace
}  // namespace velmor
