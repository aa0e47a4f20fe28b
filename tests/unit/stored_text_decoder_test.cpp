#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_text_decoder.h"
#include "edb/text_codec.h"

namespace velmor {
namespace {

std::vector<uint8_t> Utf16Bytes(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    for (char16_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

struct DecoderCase {
    const char* what;
    std::vector<uint8_t> stored;
    std::u16string expected;
    StoredTextForm form;
};

class StoredTextDecoderTest : public testing::Test {
protected:
    void TearDown() override { SetEightBitCodePage(kWindowsWesternCodePage); }

    static void Check(const std::vector<DecoderCase>& cases) {
        for (const DecoderCase& c : cases) {
            const DecodedText decoded = DecodeStoredText(c.stored);
            EXPECT_EQ(Utf16ToUtf8(decoded.text), Utf16ToUtf8(c.expected)) << c.what;
            EXPECT_EQ(decoded.form, c.form) << c.what;
        }
    }
};

TEST_F(StoredTextDecoderTest, Utf16TextOfEveryScriptIsReadWhateverItsFirstCharacter) {
    const auto utf16 = StoredTextForm::Utf16;
    std::vector<DecoderCase> cases;
    for (const char16_t* text :
         {u"Иван Петров", u"Входящие", u"Ελληνικά", u"受信トレイ", u"山田太郎の会議",
          u"البريد الوارد", u"שלום", u"받은 편지함", u"\U0001F600 Party", u"\u201CThanks\u201D",
          u"Grüße", u"Привет, Bob! Итого: 42 €", u"Ωμέγα и Омега", u"Ж"}) {
        cases.push_back({"UTF-16", Utf16Bytes(text), text, utf16});
    }
    // A terminating zero unit, and anything after it, is not part of the text.
    std::vector<uint8_t> terminated = Utf16Bytes(u"Почта");
    terminated.insert(terminated.end(), {0, 0, 0x41, 0x42});
    cases.push_back({"terminated", terminated, u"Почта", utf16});
    // An odd last byte is allowed when it is a zero.
    std::vector<uint8_t> oddZero = Utf16Bytes(u"Почта");
    oddZero.push_back(0);
    cases.push_back({"odd zero", oddZero, u"Почта", utf16});
    Check(cases);
}

TEST_F(StoredTextDecoderTest, ValuesThatStartBelowU0100KeepTheFirstTwoBytesRule) {
    const auto utf16 = StoredTextForm::Utf16;
    const auto eightBit = StoredTextForm::EightBit;
    Check({
        {"41 00 42 00", {0x41, 0x00, 0x42, 0x00}, u"AB", utf16},
        {"41 42 43 00", {0x41, 0x42, 0x43, 0x00}, u"ABC", eightBit},
        {"00 41", {0x00, 0x41}, u"", eightBit},
        {"odd length", {0x41, 0x00, 0x42}, u"A", utf16},
        {"zero unit", {0x41, 0x00, 0x00, 0x00, 0x43, 0x00}, u"A", utf16},
        {"one byte", {0x41}, u"", eightBit},
        {"one letter then a zero", {0x41, 0x00, 0x3A, 0x04}, u"A\u043A", utf16},
        {"Windows-1252", {0x80, 0x20, 0xE9, 0x9F}, u"\u20AC \u00E9\u0178", eightBit},
    });
}

TEST_F(StoredTextDecoderTest, EightBitTextIsReadInTheStoresCodePage) {
    const auto eightBit = StoredTextForm::EightBit;
    // Windows-1252.
    Check({
        {"Müller", Bytes("M\xFCller"), u"Müller", eightBit},
        {"Café", Bytes("Caf\xE9"), u"Café", eightBit},
        {"JÖRG", Bytes("J\xD6RG"), u"JÖRG", eightBit},
        {"Straße",
         Bytes("Stra\xDF"
               "e"),
         u"Straße", eightBit},
        {"terminated", Bytes(std::string("R\xE9sum\xE9\0\0", 8)), u"Résumé", eightBit},
    });
    SetEightBitCodePage(1251);
    Check({
        {"Входящие", Bytes("\xC2\xF5\xEE\xE4\xFF\xF9\xE8\xE5"), u"Входящие", eightBit},
        {"Иван Петров", Bytes("\xC8\xE2\xE0\xED \xCF\xE5\xF2\xF0\xEE\xE2"), u"Иван Петров",
         eightBit},
        {"Отчёт", Bytes("\xCE\xF2\xF7\xB8\xF2"), u"Отчёт", eightBit},
    });
}

TEST_F(StoredTextDecoderTest, ValuesThatReadAsTextBothWaysAreEightBitOnlyWhenAllAscii) {
    // "SOAP" is also two ideographs, "q\0u" is also 山田: printable ASCII decides for 8-bit.
    Check({
        {"SOAP", Bytes("SOAP"), u"SOAP", StoredTextForm::EightBit},
        {"q\\0u", {0x71, 0x5C, 0x30, 0x75}, u"q\\0u", StoredTextForm::EightBit},
        {"Meeting notes", Bytes("Meeting notes!"), u"Meeting notes!", StoredTextForm::EightBit},
        // Both readings are clean, but not all bytes are ASCII: UTF-16.
        {"受信", Utf16Bytes(u"受信"), u"受信", StoredTextForm::Utf16},
    });
}

TEST_F(StoredTextDecoderTest, BrokenUtf16IsEightBitText) {
    const auto eightBit = StoredTextForm::EightBit;
    Check({
        {"lone high surrogate", {0x3D, 0xD8, 0x41, 0x42}, u"=\u00D8AB", eightBit},
        {"private use", {0x41, 0xE9, 0x42, 0xE9}, u"A\u00E9B\u00E9", eightBit},
        {"odd length", {0x1F, 0x04, 0x40}, u"\u001F\u0004@", eightBit},
    });
}

}  // namespace
}  // namespace velmor
