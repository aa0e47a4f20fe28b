#include "body/rtf_body.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <vector>

#include "body/code_page_text.h"

namespace velmor {

namespace {

// Groups whose content is never text.
constexpr std::array<std::string_view, 20> kSkippedDestinations = {"fonttbl",
                                                                   "colortbl",
                                                                   "stylesheet",
                                                                   "info",
                                                                   "pict",
                                                                   "object",
                                                                   "header",
                                                                   "footer",
                                                                   "headerl",
                                                                   "headerr",
                                                                   "footerl",
                                                                   "footerr",
                                                                   "themedata",
                                                                   "listtable",
                                                                   "fldinst",
                                                                   "datastore",
                                                                   "latentstyles",
                                                                   "rsidtbl",
                                                                   "listoverridetable",
                                                                   "xmlnstbl"};

// Words that stand for one character.
struct CharacterWord {
    std::string_view word;
    char16_t character;
};
constexpr std::array<CharacterWord, 10> kCharacterWords = {{{"par", u'\n'},
                                                            {"line", u'\n'},
                                                            {"tab", u'\t'},
                                                            {"emdash", u'\u2014'},
                                                            {"endash", u'\u2013'},
                                                            {"bullet", u'\u2022'},
                                                            {"lquote", u'\u2018'},
                                                            {"rquote", u'\u2019'},
                                                            {"ldblquote", u'\u201C'},
                                                            {"rdblquote", u'\u201D'}}};

constexpr int kDefaultUnicodeSkip = 1;
// Nesting beyond this is taken as damage; deeper groups are read as their parent.
constexpr size_t kDeepestGroup = 256;

struct GroupState {
    bool skip = false;     // a destination without text
    bool htmlTag = false;  // a wrapped HTML tag: always part of the HTML
    bool rtfOnly = false;  // between \htmlrtf and \htmlrtf0: not part of the HTML
    int unicodeSkip = kDefaultUnicodeSkip;
};

class RtfReader {
public:
    explicit RtfReader(std::string_view rtf) : rtf_(rtf) { groups_.push_back(GroupState{}); }

    RtfBody Read() {
        while (pos_ < rtf_.size()) {
            const char c = rtf_[pos_++];
            if (c == '{') {
                if (groups_.size() < kDeepestGroup) {
                    groups_.push_back(groups_.back());
                }
                groupStart_ = true;
                ignorable_ = false;
                continue;
            }
            if (c == '}') {
                if (groups_.size() > 1) {
                    groups_.pop_back();
                }
                groupStart_ = false;
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

    bool Emitting() {
        const GroupState& s = state();
        if (s.skip) {
            return false;
        }
        return origin_ != RtfOrigin::Html || s.htmlTag || !s.rtfOnly;
    }

    // Bytes are gathered until a character of another kind follows, so that a double-byte
    // code page sees both bytes of a character together.
    void EmitByte(uint8_t byte) {
        if (pendingSkip_ > 0) {
            --pendingSkip_;
            return;
        }
        if (Emitting()) {
            pendingBytes_.push_back(byte);
        }
    }

    void EmitCharacter(char16_t character) {
        if (Emitting()) {
            FlushBytes();
            text_ += character;
        }
    }

    void FlushBytes() {
        if (!pendingBytes_.empty()) {
            text_ += CodePageToUtf16(pendingBytes_, codePage_);
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
        if (pos_ < rtf_.size() && rtf_[pos_] == '-') {
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
        ReadWord(word, parameter);
    }

    void ReadSymbol(char symbol) {
        groupStart_ = false;
        switch (symbol) {
            case '*':
                ignorable_ = true;
                groupStart_ = true;
                return;
            case '\'': {
                const size_t digits = std::min<size_t>(2, rtf_.size() - pos_);
                uint8_t byte = 0;
                const auto [end, error] =
                    std::from_chars(rtf_.data() + pos_, rtf_.data() + pos_ + digits, byte, 16);
                if (digits == 2 && error == std::errc{} && end == rtf_.data() + pos_ + 2) {
                    EmitByte(byte);
                }
                pos_ += digits;
                return;
            }
            case '~':
                EmitCharacter(u'\u00A0');
                return;
            case '_':
                EmitCharacter(u'-');
                return;
            case '\r':
            case '\n':
                EmitCharacter(u'\n');
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

    void ReadWord(std::string_view word, std::optional<int> parameter) {
        const bool destination = groupStart_;
        const bool ignorable = ignorable_;
        groupStart_ = false;
        ignorable_ = false;
        if (word == "fromhtml" && parameter.value_or(1) == 1) {
            origin_ = RtfOrigin::Html;
            return;
        }
        if (word == "fromtext") {
            origin_ = RtfOrigin::Text;
            return;
        }
        if (destination && (word == "htmltag") && origin_ == RtfOrigin::Html) {
            state().htmlTag = true;
            return;
        }
        if (destination && (ignorable || IsSkipped(word))) {
            state().skip = true;
            return;
        }
        if (word == "htmlrtf") {
            state().rtfOnly = parameter.value_or(1) != 0;
            return;
        }
        if (word == "ansicpg" && parameter) {
            FlushBytes();
            codePage_ = *parameter;
            return;
        }
        if (word == "uc") {
            state().unicodeSkip = std::max(parameter.value_or(kDefaultUnicodeSkip), 0);
            return;
        }
        if (word == "u" && parameter) {
            EmitCharacter(static_cast<char16_t>(*parameter < 0 ? *parameter + 65536 : *parameter));
            pendingSkip_ = state().unicodeSkip;
            return;
        }
        if (word == "bin" && parameter && *parameter > 0) {
            pos_ = std::min(rtf_.size(), pos_ + static_cast<size_t>(*parameter));
            return;
        }
        for (const CharacterWord& character : kCharacterWords) {
            if (character.word == word) {
                EmitCharacter(character.character);
                return;
            }
        }
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
    bool groupStart_ = false;
    bool ignorable_ = false;
    int pendingSkip_ = 0;
    RtfOrigin origin_ = RtfOrigin::Rtf;
    int codePage_ = kWindowsWesternCodePage;
    std::vector<uint8_t> pendingBytes_;
    std::u16string text_;
};

}  // namespace

RtfBody ReadRtfBody(std::string_view rtf) {
    return RtfReader(rtf).Read();
}

}  // namespace velmor
