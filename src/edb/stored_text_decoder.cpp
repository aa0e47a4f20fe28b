#include "edb/stored_text_decoder.h"

#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_err.h>
#include <unicode/uscript.h>

#include <algorithm>
#include <array>
#include <bitset>
#include <memory>
#include <optional>

#include "edb/code_page_text.h"
#include "edb/eight_bit_code_page.h"
#include "edb/text_form_evidence.h"
#include "edb/windows_code_pages.h"

namespace velmor {

namespace {

// Latin and this many other writing systems make a short text; 8-bit text read as UTF-16 mixes
// characters of unrelated ones.
constexpr size_t kMostOtherScripts = 2;
constexpr uint8_t kFirstPrintableAscii = 0x20;
constexpr uint8_t kDelete = 0x7F;
constexpr size_t kBasicPlaneSize = 0x10000;

// Blocks that hold glyph variants for display or ideographs almost no text uses; 8-bit text
// read as UTF-16 lands in them often (an "ü" or capitals at an odd position).
constexpr std::array<UBlockCode, 5> kUntypedBlocks = {
    UBLOCK_CJK_UNIFIED_IDEOGRAPHS_EXTENSION_A, UBLOCK_CJK_COMPATIBILITY_IDEOGRAPHS,
    UBLOCK_ALPHABETIC_PRESENTATION_FORMS, UBLOCK_ARABIC_PRESENTATION_FORMS_A,
    UBLOCK_ARABIC_PRESENTATION_FORMS_B};

bool IsLineSpacing(UChar32 c) {
    return c == u'\t' || c == u'\n' || c == u'\r';
}

struct ConverterClose {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterClose>;

// A converter to a legacy character set that stops at a character the set lacks.
Converter OpenStrictConverter(const char* name) {
    UErrorCode error = U_ZERO_ERROR;
    Converter converter(ucnv_open(name, &error));
    if (converter) {
        ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &error);
    }
    return U_SUCCESS(error) ? std::move(converter) : Converter();
}

bool Encodable(UConverter* converter, UChar32 c) {
    if (converter == nullptr) {
        return true;
    }
    const auto unit = static_cast<UChar>(c);
    std::array<char, 8> out{};
    UErrorCode error = U_ZERO_ERROR;
    ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()), &unit, 1, &error);
    ucnv_resetFromUnicode(converter);
    return U_SUCCESS(error);
}

// Chinese, Japanese and Korean text keeps to the characters of the national standard sets
// (GB 2312, Big5, JIS X 0208, KS X 1001); 8-bit Western or Cyrillic text read as UTF-16 gives
// mostly others.
bool InChineseOrJapaneseSet(UChar32 c) {
    thread_local const Converter simplified = OpenStrictConverter("GB2312");
    thread_local const Converter traditional = OpenStrictConverter("Big5");
    thread_local const Converter japanese = OpenStrictConverter("Shift_JIS");
    return Encodable(simplified.get(), c) || Encodable(traditional.get(), c) ||
           Encodable(japanese.get(), c);
}

bool InKoreanSet(UChar32 c) {
    thread_local const Converter korean = OpenStrictConverter("EUC-KR");
    return Encodable(korean.get(), c);
}

// Whether a character of the basic plane is in the national standard sets, asked of the
// converters once per character and thread: a long Chinese body repeats its characters.
bool IsCommonIdeographOrSyllable(UChar32 c, bool (*inSet)(UChar32)) {
    thread_local std::bitset<kBasicPlaneSize> asked;
    thread_local std::bitset<kBasicPlaneSize> common;
    const auto at = static_cast<size_t>(c);
    if (!asked[at]) {
        asked[at] = true;
        common[at] = inSet(c);
    }
    return common[at];
}

bool IsTextCharacter(UChar32 c) {
    if (c >= kFirstPrintableAscii && c < kDelete) {
        return true;  // the common case, without asking ICU
    }
    switch (u_charType(c)) {
        case U_CONTROL_CHAR:
            return IsLineSpacing(c);
        case U_UNASSIGNED:
        case U_PRIVATE_USE_CHAR:
        case U_SURROGATE:
            return false;
        default:
            break;
    }
    if (u_hasBinaryProperty(c, UCHAR_NONCHARACTER_CODE_POINT)) {
        return false;
    }
    const UBlockCode block = ublock_getCode(c);
    if (block == UBLOCK_HANGUL_SYLLABLES) {
        return IsCommonIdeographOrSyllable(c, InKoreanSet);
    }
    if (block == UBLOCK_CJK_UNIFIED_IDEOGRAPHS) {
        return IsCommonIdeographOrSyllable(c, InChineseOrJapaneseSet);
    }
    return std::find(kUntypedBlocks.begin(), kUntypedBlocks.end(), block) == kUntypedBlocks.end();
}

// The writing system a character belongs to; USCRIPT_COMMON for characters every one uses.
UScriptCode WritingSystem(UChar32 c) {
    UErrorCode error = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(c, &error);
    if (U_FAILURE(error)) {
        return USCRIPT_INVALID_CODE;
    }
    switch (script) {
        case USCRIPT_INHERITED:
        case USCRIPT_LATIN:
            return USCRIPT_COMMON;
        case USCRIPT_HIRAGANA:
        case USCRIPT_KATAKANA:
        case USCRIPT_HANGUL:
        case USCRIPT_BOPOMOFO:
            return USCRIPT_HAN;
        default:
            return script;
    }
}

char16_t UnitAt(std::span<const uint8_t> bytes, size_t unit) {
    return static_cast<char16_t>(bytes[2 * unit] | (bytes[2 * unit + 1] << 8));
}

std::u16string Utf16Reading(std::span<const uint8_t> bytes) {
    std::u16string text;
    const size_t units = bytes.size() / 2;
    text.reserve(units);
    for (size_t i = 0; i < units; ++i) {
        const char16_t unit = UnitAt(bytes, i);
        if (unit == 0) {
            break;
        }
        text += unit;
    }
    return text;
}

std::span<const uint8_t> UpToFirstZero(std::span<const uint8_t> bytes) {
    const auto zero = std::find(bytes.begin(), bytes.end(), uint8_t{0});
    return bytes.first(static_cast<size_t>(zero - bytes.begin()));
}

bool AllPrintableAscii(std::span<const uint8_t> bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) {
        return (b >= kFirstPrintableAscii && b < kDelete) || IsLineSpacing(b);
    });
}

// The writing system of the letters of a code page's text; Latin pages give USCRIPT_COMMON,
// as WritingSystem counts Latin letters.
UScriptCode CodePageScript(int codePage) {
    switch (codePage) {
        case kThaiCodePage:
            return USCRIPT_THAI;
        case kCyrillicCodePage:
            return USCRIPT_CYRILLIC;
        case kGreekCodePage:
            return USCRIPT_GREEK;
        case kHebrewCodePage:
            return USCRIPT_HEBREW;
        case kArabicCodePage:
            return USCRIPT_ARABIC;
        case kJapaneseCodePage:
        case kSimplifiedChineseCodePage:
        case kKoreanCodePage:
        case kTraditionalChineseCodePage:
            return USCRIPT_HAN;
        default:
            return USCRIPT_COMMON;
    }
}

bool WrittenIn(std::u16string_view text, UScriptCode script) {
    for (size_t i = 0; i < text.size();) {
        UChar32 c = 0;
        U16_NEXT(text.data(), i, text.size(), c);
        const UScriptCode own = WritingSystem(c);
        if (own != USCRIPT_COMMON && own != script) {
            return false;
        }
    }
    return true;
}

// Whether text, the UTF-16 reading of bytes, is the whole value read as UTF-16 text
// (ReadsAsUtf16Text).
bool IsUtf16Text(std::span<const uint8_t> bytes, std::u16string_view text) {
    const bool cutByZero = text.size() < bytes.size() / 2;
    if (!cutByZero && bytes.size() % 2 != 0 && bytes.back() != 0) {
        return false;
    }
    for (size_t i = 0; i < text.size();) {
        UChar32 c = 0;
        U16_NEXT(text.data(), i, text.size(), c);
        if (U_IS_SURROGATE(c) || !IsTextCharacter(c)) {
            return false;
        }
    }
    return true;
}

// The form of a value both readings allow: its column's or mailbox's, else the store's, from the
// values whose form is certain;
// else 8-bit when the user chose a code page whose script the 8-bit reading is written in and
// the UTF-16 reading is not; else UTF-16 when that reading uses few scripts and not every byte
// is printable ASCII.
StoredTextForm TieForm(std::span<const uint8_t> bytes, std::u16string_view utf16Text,
                       std::optional<StoredTextForm> tieForm) {
    if (tieForm) {
        return *tieForm;
    }
    if (const std::optional<StoredTextForm> form = StoreTextForm()) {
        return *form;
    }
    if (const std::optional<int> chosen = ChosenEightBitCodePage()) {
        const UScriptCode script = CodePageScript(*chosen);
        if (WrittenIn(CodePageToUtf16(UpToFirstZero(bytes), *chosen), script) &&
            !WrittenIn(utf16Text, script)) {
            return StoredTextForm::EightBit;
        }
    }
    return UsesFewScripts(utf16Text) && !AllPrintableAscii(UpToFirstZero(bytes))
               ? StoredTextForm::Utf16
               : StoredTextForm::EightBit;
}

AllowedForms Allowed(bool utf16, bool eightBit) {
    if (utf16 && eightBit) {
        return AllowedForms::Both;
    }
    if (utf16) {
        return AllowedForms::Utf16;
    }
    return eightBit ? AllowedForms::EightBit : AllowedForms::Neither;
}

// The decision of DecodeStoredText; with noteForms, also what the bytes allow, from the same
// readings (a value starting below U+0100 is then checked as UTF-16 text too).
DecodedText Decode(std::span<const uint8_t> bytes, std::optional<StoredTextForm> tieForm,
                   bool noteForms) {
    if (bytes.size() <= 1) {
        return {};
    }
    // A first byte of 0 stands for empty 8-bit text, unless the value reads whole as UTF-16
    // text that starts with a character U+xx00 (一 U+4E00, 가 U+AC00).
    if (bytes[0] == 0) {
        if (bytes[1] != 0) {
            std::u16string text = Utf16Reading(bytes);
            if (IsUtf16Text(bytes, text)) {
                return {std::move(text), StoredTextForm::Utf16, AllowedForms::Utf16};
            }
        }
        return {};
    }
    std::u16string text = Utf16Reading(bytes);
    const bool startsBelowU0100 = bytes[1] == 0;
    if (startsBelowU0100) {
        const AllowedForms allowed =
            noteForms ? Allowed(IsUtf16Text(bytes, text), ReadsAsEightBitText(bytes))
                      : AllowedForms::Neither;
        return {std::move(text), StoredTextForm::Utf16, allowed};
    }
    const bool utf16 = IsUtf16Text(bytes, text);
    const bool eightBit = (utf16 || noteForms) && ReadsAsEightBitText(bytes);
    const AllowedForms allowed = noteForms ? Allowed(utf16, eightBit) : AllowedForms::Neither;
    if (utf16 && (!eightBit || TieForm(bytes, text, tieForm) == StoredTextForm::Utf16)) {
        return {std::move(text), StoredTextForm::Utf16, allowed};
    }
    return {CodePageToUtf16(UpToFirstZero(bytes), EightBitCodePage()), StoredTextForm::EightBit,
            allowed};
}

}  // namespace

bool ReadsAsUtf16Text(std::span<const uint8_t> bytes) {
    return IsUtf16Text(bytes, Utf16Reading(bytes));
}

bool UsesFewScripts(std::u16string_view text) {
    std::array<UScriptCode, kMostOtherScripts> scripts{};
    size_t scriptCount = 0;
    for (size_t i = 0; i < text.size();) {
        UChar32 c = 0;
        U16_NEXT(text.data(), i, text.size(), c);
        const UScriptCode script = WritingSystem(c);
        if (script == USCRIPT_COMMON || std::find(scripts.begin(), scripts.begin() + scriptCount,
                                                  script) != scripts.begin() + scriptCount) {
            continue;
        }
        if (script == USCRIPT_INVALID_CODE || scriptCount == kMostOtherScripts) {
            return false;
        }
        scripts[scriptCount++] = script;
    }
    return true;
}

bool ReadsAsEightBitText(std::span<const uint8_t> bytes) {
    const std::span<const uint8_t> text = UpToFirstZero(bytes);
    const bool clean = std::all_of(text.begin(), text.end(), [](uint8_t b) {
        return (b >= kFirstPrintableAscii && b != kDelete) || IsLineSpacing(b);
    });
    const auto rest = bytes.subspan(text.size());
    return clean && std::all_of(rest.begin(), rest.end(), [](uint8_t b) { return b == 0; });
}

AllowedForms FormsAllowed(std::span<const uint8_t> bytes) {
    return DecodeStoredTextNotingForms(bytes, std::nullopt).allowed;
}

DecodedText DecodeStoredText(std::span<const uint8_t> bytes) {
    return DecodeStoredText(bytes, std::nullopt);
}

DecodedText DecodeStoredText(std::span<const uint8_t> bytes,
                             std::optional<StoredTextForm> tieForm) {
    return Decode(bytes, tieForm, false);
}

DecodedText DecodeStoredTextNotingForms(std::span<const uint8_t> bytes,
                                        std::optional<StoredTextForm> tieForm) {
    return Decode(bytes, tieForm, true);
}

}  // namespace velmor
