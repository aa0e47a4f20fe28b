#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/stored_text_decoder.h"
#include "edb/text_codec.h"
#include "edb/text_form_evidence.h"

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
    void TearDown() override {
        SetEightBitCodePage(kWindowsWesternCodePage);
        ChooseEightBitCodePage(std::nullopt);
        SetStoreTextForm(std::nullopt);
    }

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

TEST_F(StoredTextDecoderTest, HebrewAndVietnameseKeepTheirLastLetter) {
    // Their converters hold a letter back for a combining mark that may follow.
    struct Word {
        int codePage;
        std::string_view stored;
        std::u16string_view text;
    };
    for (const Word& word : {
             Word{1255, "\xF9\xE0\xE1\xEA", u"שאבך"},
             Word{1255, "\xF9\xEC\xE5\xED", u"שלום"},
             Word{1255, "Mailbox - \xEE\xF1\xEE\xE5\xF1\xE9\xEB", u"Mailbox - מסמוסיכ"},
             Word{1258, "Vi\xEA\xF2t", u"Việt"},
             Word{1258, "Ha\xCC N\xF4\xF2i", u"Hà Nội"},
             Word{1258, "ch\xE2u", u"châu"},
             Word{1258, "ng\xE0", u"ngà"},
             Word{1258, "Nga\xCC", u"Ngà"},
         }) {
        EXPECT_EQ(Utf16ToUtf8(CodePageToUtf16(Bytes(word.stored), word.codePage)),
                  Utf16ToUtf8(word.text))
            << word.codePage;
    }
    // A byte that is not text of the code page comes after the letter held before it.
    EXPECT_EQ(CodePageToUtf16(Bytes("\xF9\xFF\xE0"), 1255), u"ש\u00FFא");
    SetEightBitCodePage(1255);
    Check({{"שלום", Bytes("\xF9\xEC\xE5\xED"), u"שלום", StoredTextForm::EightBit}});
}

TEST_F(StoredTextDecoderTest, Utf16TextStartingWithACharacterUxx00OrInBig5IsRead) {
    const auto utf16 = StoredTextForm::Utf16;
    std::vector<DecoderCase> cases;
    for (const char16_t* text :
         {u"一条天皇", u"一郎", u"一", u"가정되다", u"最新のニュース", u"대한민국", u"저녁"}) {
        cases.push_back({"U+xx00 first", Utf16Bytes(text), text, utf16});
    }
    // A zero first byte before bytes that are not UTF-16 text still means empty text.
    // Traditional Chinese keeps to Big5: 內 (U+5167) is in neither GB 2312 nor JIS X 0208.
    cases.push_back({"塞內加爾", Utf16Bytes(u"塞內加爾"), u"塞內加爾", utf16});
    cases.push_back({"00 FF FF", {0x00, 0xFF, 0xFF, 0xFF}, u"", StoredTextForm::EightBit});
    cases.push_back({"00 00 41", {0x00, 0x00, 0x41}, u"", StoredTextForm::EightBit});
    Check(cases);
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

// Values both readings allow, as the issue's measurement found them: UTF-16 CJK whose bytes
// are printable ASCII, and 8-bit text whose UTF-16 reading is clean.
struct Tie {
    const char* what;
    std::vector<uint8_t> stored;
    int codePage;
    std::u16string eightBit;
};

std::vector<Tie> EightBitTies() {
    return {{"Octuplés", Bytes("Octupl\xE9s"), 1252, u"Octuplés"},
            {"HÁBR",
             Bytes("H\xC1"
                   "BR"),
             1250, u"HÁBR"},
            {"idős", Bytes("id\xF5s"), 1250, u"idős"},
            {"久司", Bytes("\x8B\x76\x8E\x69"), 932, u"久司"},
            {"โขยกเขยก", Bytes("\xE2\xA2\xC2\xA1\xE0\xA2\xC2\xA1"), 874, u"โขยกเขยก"},
            {"نابض", Bytes("\xE4\xC7\xC8\xD6"), 1256, u"نابض"}};
}

TEST_F(StoredTextDecoderTest, TiesTakeTheStoresFormAndCertainValuesKeepTheirOwn) {
    const std::vector<uint8_t> iriMura = Utf16Bytes(u"入村");  // 65 51 51 67: "eQQg"
    const std::vector<uint8_t> ukraine = Utf16Bytes(u"乌克兰");
    EXPECT_EQ(FormsAllowed(iriMura), AllowedForms::Both);
    EXPECT_EQ(FormsAllowed(Utf16Bytes(u"Иван")), AllowedForms::Utf16);
    EXPECT_EQ(FormsAllowed(Utf16Bytes(u"一郎")), AllowedForms::Utf16);
    EXPECT_EQ(FormsAllowed(Bytes("M\xFCller")), AllowedForms::EightBit);
    EXPECT_EQ(FormsAllowed(Bytes("Inbox")), AllowedForms::EightBit);
    EXPECT_EQ(FormsAllowed(std::vector<uint8_t>{0x00, 0x00}), AllowedForms::Neither);

    SetStoreTextForm(StoredTextForm::Utf16);
    Check({{"入村", iriMura, u"入村", StoredTextForm::Utf16},
           {"乌克兰", ukraine, u"乌克兰", StoredTextForm::Utf16},
           {"certain 8-bit", Bytes("M\xFCller"), u"Müller", StoredTextForm::EightBit}});
    for (const Tie& tie : EightBitTies()) {
        EXPECT_EQ(FormsAllowed(tie.stored), AllowedForms::Both) << tie.what;
        SetStoreTextForm(StoredTextForm::EightBit);
        SetEightBitCodePage(tie.codePage);
        Check({{tie.what, tie.stored, tie.eightBit, StoredTextForm::EightBit},
               {"certain UTF-16", Utf16Bytes(u"Иван"), u"Иван", StoredTextForm::Utf16}});
    }
}

TEST_F(StoredTextDecoderTest, AChosenCodePageDecidesTiesWhoseReadingsDifferInScript) {
    for (const Tie& tie : EightBitTies()) {
        ChooseEightBitCodePage(tie.codePage);
        SetEightBitCodePage(tie.codePage);
        const DecodedText decoded = DecodeStoredText(tie.stored);
        // 久司 reads as ideographs both ways: the code page cannot tell.
        const bool sameScript = tie.codePage == 932;
        EXPECT_EQ(decoded.form == StoredTextForm::EightBit, !sameScript) << tie.what;
    }
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
