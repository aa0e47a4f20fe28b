#include "discovery/code_page_detection.h"

#include <uchardet/uchardet.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <memory>
#include <string>
#include <string_view>

#include "edb/code_page_text.h"

namespace velmor {

namespace {

struct CharsetCodePage {
    std::string_view charset;  // as uchardet names it
    int codePage;
};

// Stores hold the code pages of Windows; a detected character set of another family stands for
// the Windows code page of its script.
constexpr std::array<CharsetCodePage, 34> kCodePages = {{
    {"WINDOWS-1250", 1250}, {"ISO-8859-2", 1250},   {"MAC-CENTRALEUROPE", 1250},
    {"IBM852", 1250},       {"WINDOWS-1251", 1251}, {"ISO-8859-5", 1251},
    {"KOI8-R", 1251},       {"IBM855", 1251},       {"IBM866", 1251},
    {"MAC-CYRILLIC", 1251}, {"WINDOWS-1252", 1252}, {"ISO-8859-1", 1252},
    {"ISO-8859-15", 1252},  {"WINDOWS-1253", 1253}, {"ISO-8859-7", 1253},
    {"WINDOWS-1254", 1254}, {"ISO-8859-9", 1254},   {"WINDOWS-1255", 1255},
    {"ISO-8859-8", 1255},   {"WINDOWS-1256", 1256}, {"ISO-8859-6", 1256},
    {"WINDOWS-1257", 1257}, {"ISO-8859-13", 1257},  {"ISO-8859-4", 1257},
    {"WINDOWS-1258", 1258}, {"TIS-620", 874},       {"ISO-8859-11", 874},
    {"SHIFT_JIS", 932},     {"EUC-JP", 932},        {"GB18030", 936},
    {"EUC-KR", 949},        {"UHC", 949},           {"BIG5", 950},
    {"EUC-TW", 950},
}};

struct DetectorDelete {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};

// Whether the code page reads every text as Windows-1252 does: then the detection had nothing
// to go on but letters both share ("Café – Bar" fits 1250 as well), and the next name with à or
// ő is read right only in 1252.
bool ReadsLikeWindowsWestern(std::span<const std::vector<uint8_t>> texts, int codePage) {
    return std::all_of(texts.begin(), texts.end(), [codePage](const std::vector<uint8_t>& text) {
        return CodePageToUtf16(text, codePage) == CodePageToUtf16(text, kWindowsWesternCodePage);
    });
}

}  // namespace

int DetectCodePage(std::span<const std::vector<uint8_t>> texts) {
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, DetectorDelete> detector(
        uchardet_new());
    if (!detector) {
        return kWindowsWesternCodePage;
    }
    // One buffer: uchardet fed a piece at a time answers differently (Lithuanian names fed one
    // by one read as ISO-8859-15, the same names at once as ISO-8859-13).
    constexpr char kSeparator = '\n';
    std::string all;
    for (const std::vector<uint8_t>& text : texts) {
        all.append(text.begin(), text.end());
        all += kSeparator;
    }
    uchardet_handle_data(detector.get(), all.data(), all.size());
    uchardet_data_end(detector.get());
    const std::string_view charset = uchardet_get_charset(detector.get());
    for (const CharsetCodePage& entry : kCodePages) {
        if (std::equal(entry.charset.begin(), entry.charset.end(), charset.begin(), charset.end(),
                       [](char a, char b) {
                           return std::toupper(static_cast<unsigned char>(a)) ==
                                  std::toupper(static_cast<unsigned char>(b));
                       })) {
            return ReadsLikeWindowsWestern(texts, entry.codePage) ? kWindowsWesternCodePage
                                                                  : entry.codePage;
        }
    }
    return kWindowsWesternCodePage;
}

}  // namespace velmor
