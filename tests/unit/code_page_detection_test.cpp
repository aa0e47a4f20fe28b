#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "discovery/code_page_detection.h"

namespace velmor {
namespace {

std::vector<std::vector<uint8_t>> Texts(std::initializer_list<std::string_view> texts) {
    std::vector<std::vector<uint8_t>> bytes;
    for (std::string_view text : texts) {
        bytes.emplace_back(text.begin(), text.end());
    }
    return bytes;
}

TEST(CodePageDetectionTest, EightBitNamesTellTheirCodePage) {
    // Windows-1251: Входящие, Отправленные, Удаленные, Черновики, Календарь, Иван Петров.
    EXPECT_EQ(
        DetectCodePage(Texts(
            {"\xC2\xF5\xEE\xE4\xFF\xF9\xE8\xE5", "\xCE\xF2\xEF\xF0\xE0\xE2\xEB\xE5\xED\xED\xFB\xE5",
             "\xD3\xE4\xE0\xEB\xE5\xED\xED\xFB\xE5", "\xD7\xE5\xF0\xED\xEE\xE2\xE8\xEA\xE8",
             "\xCA\xE0\xEB\xE5\xED\xE4\xE0\xF0\xFC", "\xC8\xE2\xE0\xED \xCF\xE5\xF2\xF0\xEE\xE2"})),
        1251);
    // Windows-1252: Gelöschte Elemente, Entwürfe, Aufgaben, Jürgen Müller, Posteingang.
    EXPECT_EQ(DetectCodePage(Texts({"Gel\xF6schte Elemente", "Entw\xFCrfe", "Aufgaben",
                                    "J\xFCrgen M\xFCller", "Posteingang"})),
              1252);
    EXPECT_EQ(DetectCodePage(Texts({})), 1252) << "nothing to tell: Windows-1252";
    // Windows-1257: Lithuanian names of languages (Alandų Salos, Abchazų, ...), which the
    // detector reads as ISO-8859-15 when fed one name at a time.
    EXPECT_EQ(DetectCodePage(Texts({"Aland\xF8 Salos",
                                    "ABCHAZ\xD8",
                                    "AKAN\xD8",
                                    "ANGL\xD8",
                                    "ARAVAK\xD8",
                                    "AUK\xD0TUM\xD8",
                                    "Airi\xF8",
                                    "Alban\xF8",
                                    "Amhar\xF8",
                                    "Araon\xF8",
                                    "Asam\xF8",
                                    "BAFUT\xD8",
                                    "BAND\xDE"
                                    "AR\xD8",
                                    "BELUD\xDEI\xD8",
                                    "BOSNI\xD8",
                                    "BRUN\xCBJUS",
                                    "Bafut\xF8",
                                    "Bask\xF8",
                                    "Bemb\xF8",
                                    "Bosni\xF8"})),
              1257);
    // Letters Windows-1250 reads the same way: Windows-1252, which the next à or ő needs.
    EXPECT_EQ(DetectCodePage(Texts({"Caf\xE9 \x96 Bar"})), 1252);
    EXPECT_EQ(DetectCodePage(Texts({"Caf\xE9 \x96 Bar",
                                    "Fr\xFChst\xFC"
                                    "ck"})),
              1252);
}

}  // namespace
}  // namespace velmor
