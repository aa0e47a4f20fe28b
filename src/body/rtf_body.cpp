#include "body/rtf_body.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <vector>

#include "edb/code_page_text.h"

namespace velmor {

namespace {

// Groups whose content is never text (\fonttbl is read for the fonts' code pages).
constexpr std::array<std::string_view, 19> kSkippedDestinations = {
    "colortbl",  "stylesheet", "info",      "pict",         "object",  "header",
    "footer",    "headerl",    "headerr",   "footerl",      "footerr", "themedata",
    "listtable", "fldinst",    "datastore", "latentstyles", "rsidtbl", "listoverridetable",
    "xmlnstbl"};

// Words that stand for one character.
struct CharacterWord {
    std::string_view word;
    char16_t character;
};
constexpr std::array<CharacterWord, 16> kCharacterWords = {{{"par", u'\n'},
                                                            {"line", u'\n'},
                                                            {"tab", u'\t'},
                                                            {"cell", u'\t'},
                                                            {"nestcell", u'\t'},
                                                            {"row", u'\n'},
                                                            {"nestrow", u'\n'},
                                                            {"page", u'\n'},
                                                            {"sect", u'\n'},
                                                            {"emdash", u'\u2014'},
                                                            {"endash", u'\u2013'},
                                                            {"bullet", u'\u2022'},
                                                            {"lquote", u'\u2018'},
                                                            {"rquote", u'\u2019'},
                                                            {"ldblquote", u'\u201C'},
                                                            {"rdblquote", u'\u201D'}}};

// Code pages of the font character sets (\fcharsetN).
struct CharsetEntry {
    int charset;
    int codePage;
};
constexpr std::array<CharsetEntry, 29> kCharsetCodePages = {{
    {0, 1252},   {77, 10000}, {78, 10001}, {79, 10003}, {80, 10008}, {81, 10002},
    {83, 10005}, {84, 10004}, {85, 10006}, {86, 10081}, {87, 10021}, {88, 10029},
    {89, 10007}, {128, 932},  {129, 949},  {130, 1361}, {134, 936},  {136, 950},
    {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256}, {186, 1257},
    {204, 1251}, {222, 874},  {238, 1250}, {254, 437},  {255, 850},
}};

// Document character sets other than \ansi and the code pages they stand for.
constexpr int kMacCodePage = 10000;
constexpr int kPcCodePage = 437;
constexpr int kPcaCodePage = 850;

constexpr int kDefaultUnicodeSkip = 1;
// A fallback longer than this is taken as damage.
constexpr int kLongestUnicodeFallback = 8;
// Nesting beyond this is taken as damage; deeper groups are dropped with all they hold.
constexpr size_t kDeepestGroup = 256;
constexpr int kNoFont = -1;
constexpr size_t kHexEscapeDigits = 2;

struct GroupState {
    bool skip = false;       // a destination without text
    bool fontTable = false;  // \fonttbl: \fN, \fcharsetN and \cpgN describe fonts
    bool htmlTag = false;    // a wrapped HTML tag: always part of the HTML
    bool rtfOnly = false;    // between \htmlrtf and \htmlrtf0: not part of the HTML
    int unicodeSkip = kDefaultUnicodeSkip;
    int font = kNoFont;
};

constexpr int kNoTagNumber = -1;

// Where the text of an HTML tag group began.
struct HtmlTagStart {
    int number;
    size_t textStart;
};

struct FontCoding {
    std::optional<int> charset;
    std::optional<int> codePage;  // \cpgN, which wins over the character set
};

std::optional<int> CharsetCodePage(int charset) {
    for (const CharsetEntry& entry : kCharsetCodePages) {
        if (entry.charset == charset) {
            return entry.codePage;
        }
    }
    return std::nullopt;
}

bool IsHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

class RtfReader {
public:
    explicit RtfReader(std::string_view rtf) : rtf_(rtf) { groups_.push_back(GroupState{}); }

    RtfBody Read() {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                OpenGroup();
                continue;
            }
            if (c == '}') {
                CloseGroup();
                continue;
            }
            if (c == '\\') {
                ReadControl();
                continue;
            }
            groupStart_ = false;
            if (c == '\r' || c == '\n') {
                continue;
            }
            EmitByte(static_cast<uint8_t>(c));
        }
        FlushBytes();
        return RtfBody{origin_, std::move(text_)};
    }

private:
    GroupState& state() { return groups_.back(); }

    // A group ends the fallback of a \uN inside it.
    void OpenGroup() {
        fallbackLeft_ = 0;
        groupStart_ = true;
        ignorable_ = false;
        if (droppedDepth_ > 0 || groups_.size() >= kDeepestGroup) {
            ++droppedDepth_;
            return;
        }
        groups_.push_back(groups_.back());
    }

    void CloseGroup() {
        fallbackLeft_ = 0;
        groupStart_ = false;
        if (droppedDepth_ > 0) {
            --droppedDepth_;
        } else if (groups_.size() > 1) {
            groups_.pop_back();
        }
    }

    bool Emitting() {
        const GroupState& s = state();
        if (s.skip || droppedDepth_ > 0) {
            return false;
        }
        return origin_ != RtfOrigin::Html || s.htmlTag || !s.rtfOnly;
    }

    // Text outside the destinations without text ends the header.
    void NoteBodyText() {
        if (!state().skip && droppedDepth_ == 0) {
            inHeader_ = false;
        }
    }

    // Skips one character of a \uN fallback; true when it was skipped.
    bool SkipFallback() {
        if (fallbackLeft_ == 0) {
            return false;
        }
        --fallbackLeft_;
        return true;
    }

    int CurrentCodePage() {
        const int font = state().font != kNoFont ? state().font : defaultFont_;
        const auto coding = fonts_.find(font);
        if (coding != fonts_.end()) {
            if (coding->second.codePage) {
                return *coding->second.codePage;
            }
            if (coding->second.charset) {
                if (const auto codePage = CharsetCodePage(*coding->second.charset)) {
                    return *codePage;
                }
            }
        }
        return documentCodePage_;
    }

    // Bytes are gathered until a character of another kind or another code page follows, so
    // that a double-byte code page sees both bytes of a character together.
    void EmitByte(uint8_t byte) {
        if (SkipFallback()) {
            return;
        }
        NoteBodyText();
        if (!Emitting()) {
            return;
        }
        const int codePage = CurrentCodePage();
        if (codePage != pendingCodePage_) {
            FlushBytes();
            pendingCodePage_ = codePage;
        }
        pendingBytes_.push_back(byte);
    }

    void EmitCharacter(char16_t character) {
        NoteBodyText();
        if (Emitting()) {
            FlushBytes();
            text_ += character;
        }
    }

    void FlushBytes() {
        if (!pendingBytes_.empty()) {
            text_ += CodePageToUtf16(pendingBytes_, pendingCodePage_);
            pendingBytes_.clear();
        }
    }

    void ReadControl() {
        if (pos_ >= rtf_.size()) {
            return;
        }
        const char c = rtf_[pos_];
        if (!std::isalpha(static_cast<unsigned char>(c))) {
            ++pos_;
            ReadSymbol(c);
            return;
        }
        const size_t start = pos_;
        while (pos_ < rtf_.size() && std::isalpha(static_cast<unsigned char>(rtf_[pos_]))) {
            ++pos_;
        }
        const std::string_view word = rtf_.substr(start, pos_ - start);
        std::optional<int> parameter;
        const size_t numberStart = pos_;
        // A '-' belongs to the word only as the sign of its number.
        if (pos_ + 1 < rtf_.size() && rtf_[pos_] == '-' &&
            std::isdigit(static_cast<unsigned char>(rtf_[pos_ + 1]))) {
            ++pos_;
        }
        while (pos_ < rtf_.size() && std::isdigit(static_cast<unsigned char>(rtf_[pos_]))) {
            ++pos_;
        }
        if (pos_ > numberStart) {
            int value = 0;
            const auto [end, error] =
                std::from_chars(rtf_.data() + numberStart, rtf_.data() + pos_, value);
            if (error == std::errc{}) {
                parameter = value;
            }
        }
        if (pos_ < rtf_.size() && rtf_[pos_] == ' ') {
            ++pos_;
        }
        if (word == "bin" && parameter && *parameter > 0) {
            pos_ = std::min(rtf_.size(), pos_ + static_cast<size_t>(*parameter));
            return;
        }
        if (SkipFallback()) {
            return;
        }
        ReadWord(word, parameter);
    }

    void ReadSymbol(char symbol) {
        if (symbol == '\'') {
            ReadHexEscape();
            return;
        }
        if (symbol == '\r' || symbol == '\n' || symbol == '*') {
            if (symbol == '*') {
                ignorable_ = true;
                groupStart_ = true;
            } else {
                groupStart_ = false;
                EmitCharacter(u'\n');
            }
            return;
        }
        groupStart_ = false;
        if (SkipFallback()) {
            return;
        }
        switch (symbol) {
            case '~':
                EmitCharacter(u'\u00A0');
                return;
            case '_':
                EmitCharacter(u'-');
                return;
            case '\\':
            case '{':
            case '}':
                EmitByte(static_cast<uint8_t>(symbol));
                return;
            default:
                return;
        }
    }

    // \'hh; an escape cut short drops only itself.
    void ReadHexEscape() {
        groupStart_ = false;
        size_t digits = 0;
        while (digits < kHexEscapeDigits && pos_ + digits < rtf_.size() &&
               IsHexDigit(rtf_[pos_ + digits])) {
            ++digits;
        }
        if (digits == kHexEscapeDigits) {
            uint8_t byte = 0;
            std::from_chars(rtf_.data() + pos_, rtf_.data() + pos_ + digits, byte, 16);
            EmitByte(byte);
        }
        pos_ += digits;
    }

    bool ReadDestination(std::string_view word, std::optional<int> parameter, bool ignorable) {
        if (word == "fonttbl") {
            state().skip = true;
            state().fontTable = true;
            return true;
        }
        // A tag given both as \mhtmltagN and \htmltagN, in either order, is taken from
        // \mhtmltagN.
        const bool html = origin_ == RtfOrigin::Html;
        const int number = parameter.value_or(kNoTagNumber);
        if (html && word == "mhtmltag") {
            FlushBytes();
            if (lastHtmlTag_ && lastHtmlTag_->number == number) {
                text_.resize(lastHtmlTag_->textStart);
            }
            lastHtmlTag_.reset();
            mhtmlTag_ = number;
            state().htmlTag = true;
            return true;
        }
        if (html && word == "htmltag") {
            const bool replaced = mhtmlTag_ == number;
            mhtmlTag_.reset();
            FlushBytes();
            lastHtmlTag_.reset();
            if (!replaced) {
                lastHtmlTag_ = HtmlTagStart{number, text_.size()};
            }
            state().htmlTag = !replaced;
            state().skip = replaced;
            return true;
        }
        if (ignorable || IsSkipped(word)) {
            state().skip = true;
            return true;
        }
        return false;
    }

    void ReadWord(std::string_view word, std::optional<int> parameter) {
        const bool destination = groupStart_;
        const bool ignorable = ignorable_;
        groupStart_ = false;
        ignorable_ = false;
        if (droppedDepth_ > 0) {
            return;
        }
        if (inHeader_ && word == "fromhtml" && parameter.value_or(1) == 1) {
            origin_ = RtfOrigin::Html;
            return;
        }
        if (inHeader_ && word == "fromtext") {
            origin_ = RtfOrigin::Text;
            return;
        }
        if (destination && ReadDestination(word, parameter, ignorable)) {
            return;
        }
        if (ReadFontWord(word, parameter)) {
            return;
        }
        if (word == "htmlrtf") {
            state().rtfOnly = parameter.value_or(1) != 0;
            return;
        }
        if (word == "uc") {
            state().unicodeSkip =
                std::clamp(parameter.value_or(kDefaultUnicodeSkip), 0, kLongestUnicodeFallback);
            return;
        }
        if (word == "u" && parameter) {
            EmitCharacter(static_cast<char16_t>(*parameter < 0 ? *parameter + 65536 : *parameter));
            fallbackLeft_ = state().unicodeSkip;
            return;
        }
        for (const CharacterWord& character : kCharacterWords) {
            if (character.word == word) {
                EmitCharacter(character.character);
                return;
            }
        }
    }

    // Words that choose the code page of 8-bit text: the document's, and each font's.
    bool ReadFontWord(std::string_view word, std::optional<int> parameter) {
        if (word == "ansicpg" && parameter) {
            documentCodePage_ = *parameter;
        } else if (word == "mac") {
            documentCodePage_ = kMacCodePage;
        } else if (word == "pc") {
            documentCodePage_ = kPcCodePage;
        } else if (word == "pca") {
            documentCodePage_ = kPcaCodePage;
        } else if (word == "deff" && parameter) {
            defaultFont_ = *parameter;
        } else if (word == "f" && parameter) {
            if (state().fontTable) {
                definedFont_ = *parameter;
            } else {
                state().font = *parameter;
            }
        } else if (word == "fcharset" && parameter && state().fontTable) {
            fonts_[definedFont_].charset = *parameter;
        } else if (word == "cpg" && parameter && state().fontTable) {
            fonts_[definedFont_].codePage = *parameter;
        } else {
            return false;
        }
        return true;
    }

    static bool IsSkipped(std::string_view word) {
        for (std::string_view skipped : kSkippedDestinations) {
            if (skipped == word) {
                return true;
            }
        }
        return false;
    }

    std::string_view rtf_;
    size_t pos_ = 0;
    std::vector<GroupState> groups_;
    size_t droppedDepth_ = 0;  // groups open beyond kDeepestGroup
    bool groupStart_ = false;
    bool ignorable_ = false;
    bool inHeader_ = true;
    int fallbackLeft_ = 0;  // characters of a \uN fallback still to skip
    RtfOrigin origin_ = RtfOrigin::Rtf;
    int documentCodePage_ = kWindowsWesternCodePage;
    int defaultFont_ = kNoFont;
    int definedFont_ = kNoFont;
    std::map<int, FontCoding> fonts_;
    std::optional<int> mhtmlTag_;              // the number of the \mhtmltag just read
    std::optional<HtmlTagStart> lastHtmlTag_;  // the \htmltag just read
    int pendingCodePage_ = kWindowsWesternCodePage;
    std::vector<uint8_t> pendingBytes_;
    std::u16string text_;
};

}  // namespace

RtfBody ReadRtfBody(std::string_view rtf) {
    return RtfReader(rtf).Read();
}

}  // namespace velmor
