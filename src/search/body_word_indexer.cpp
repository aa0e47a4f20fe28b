#include "search/body_word_indexer.h"

#include <algorithm>
#include <array>
#include <utility>

#include "search/body_word_sequence.h"
#include "search/cjk_words.h"

namespace velmor {

namespace {

// The term generator leaves out longer words, counted in UTF-8 bytes before stemming.
constexpr size_t kMaxBodyWordBytes = 64;
// What Utf16ToUtf8, which the term generator's text goes through, makes of an unpaired surrogate.
constexpr char32_t kUnpairedSurrogate = 0xFFFD;
// An infix that joins two parts of a word without staying in it (zero-width characters).
constexpr char32_t kInvisibleInfix = 0xFFFFFFFF;
constexpr char32_t kAsciiLimit = 0x80;

// The body's characters, surrogate pairs joined, as Utf16ToUtf8 converts them.
class BodyCharacters {
public:
    explicit BodyCharacters(std::u16string_view text) : text_(text) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    char32_t operator*() const { return AtEnd() ? 0 : Decoded().first; }
    BodyCharacters& operator++() {
        at_ += Decoded().second;
        return *this;
    }

private:
    // The character at the cursor and its length in code units.
    std::pair<char32_t, size_t> Decoded() const {
        const char32_t unit = text_[at_];
        if (unit < 0xD800 || unit > 0xDFFF) {
            return {unit, 1};
        }
        if (unit <= 0xDBFF && at_ + 1 < text_.size() && text_[at_ + 1] >= 0xDC00 &&
            text_[at_ + 1] <= 0xDFFF) {
            return {0x10000 + ((unit - 0xD800) << 10) + (text_[at_ + 1] - 0xDC00), 2};
        }
        return {kUnpairedSurrogate, 1};
    }

    std::u16string_view text_;
    size_t at_ = 0;
};

char32_t LowerWordCharacterOf(char32_t c) {
    return Xapian::Unicode::is_wordchar(c) ? Xapian::Unicode::tolower(c) : 0;
}

// The character in lower case when it belongs in words, else 0; ASCII from a table.
char32_t LowerWordCharacter(char32_t c) {
    static const auto kAscii = [] {
        std::array<char32_t, kAsciiLimit> table{};
        for (char32_t ascii = 0; ascii < kAsciiLimit; ++ascii) {
            table[ascii] = LowerWordCharacterOf(ascii);
        }
        return table;
    }();
    return c < kAsciiLimit ? kAscii[c] : LowerWordCharacterOf(c);
}

bool IsWordCharacter(char32_t c) {
    return LowerWordCharacter(c) != 0;
}

bool IsAsciiUpper(char32_t c) {
    return c >= 'A' && c <= 'Z';
}

bool IsDecimalDigit(char32_t c) {
    return Xapian::Unicode::get_category(c) == Xapian::Unicode::DECIMAL_DIGIT_NUMBER;
}

bool IsInvisible(char32_t c) {
    return (c >= 0x200B && c <= 0x200D) || c == 0x2060 || c == 0xFEFF;
}

// Between two letters: what of an infix stays in the word ("AT&T", "don't"), 0 when it
// separates two words.
char32_t LetterInfix(char32_t c) {
    if (c == '\'' || c == '&' || c == 0xB7 || c == 0x5F4 || c == 0x2027) {
        return c;
    }
    if (c == 0x2019 || c == 0x201B) {
        return '\'';
    }
    return IsInvisible(c) ? kInvisibleInfix : 0;
}

// Between two digits ("1,000.5").
char32_t DigitInfix(char32_t c) {
    switch (c) {
        case ',':
        case '.':
        case ';':
        case 0x037E:
        case 0x0589:
        case 0x060D:
        case 0x07F8:
        case 0x2044:
        case 0xFE10:
        case 0xFE13:
        case 0xFE14:
            return c;
        default:
            return IsInvisible(c) ? kInvisibleInfix : 0;
    }
}

// "C++", "C#": up to three of them end a word.
bool IsWordSuffix(char32_t c) {
    return c == '+' || c == '#';
}
constexpr unsigned kMaxWordSuffixes = 3;

void AppendLower(std::string& word, char32_t c) {
    Xapian::Unicode::append_utf8(word, Xapian::Unicode::tolower(c));
}

// Initials separated by dots ("U.S.A." is "usa"), when at least two and not followed by a
// word character; the cursor is left after them.
bool ReadInitials(BodyCharacters& at, std::string& word) {
    if (!IsAsciiUpper(*at)) {
        return false;
    }
    BodyCharacters p = at;
    do {
        AppendLower(word, *p);
        ++p;
    } while (!p.AtEnd() && *p == '.' && !(++p).AtEnd() && IsAsciiUpper(*p));
    if (word.size() > 1 && (p.AtEnd() || !IsWordCharacter(*p))) {
        at = p;
        return true;
    }
    word.clear();
    return false;
}

// The word starting at the cursor, whose first character in lower case is first: word
// characters joined by infixes, then its suffixes.
void ReadJoinedWord(BodyCharacters& at, char32_t first, std::string& word) {
    char32_t c = first;
    for (;;) {
        char32_t previous = 0;
        do {
            Xapian::Unicode::append_utf8(word, c);
            previous = c;
            if ((++at).AtEnd()) {
                return;
            }
            c = LowerWordCharacter(*at);
        } while (c != 0);
        BodyCharacters next = at;
        if ((++next).AtEnd()) {
            break;
        }
        const char32_t nextLower = LowerWordCharacter(*next);
        if (nextLower == 0) {
            break;
        }
        const char32_t infix =
            IsDecimalDigit(previous) && IsDecimalDigit(*next) ? DigitInfix(*at) : LetterInfix(*at);
        if (infix == 0) {
            break;
        }
        if (infix != kInvisibleInfix) {
            Xapian::Unicode::append_utf8(word, infix);
        }
        c = nextLower;
        at = next;
    }
    const size_t withoutSuffixes = word.size();
    for (unsigned count = 1; IsWordSuffix(*at); ++count) {
        if (count > kMaxWordSuffixes) {
            word.resize(withoutSuffixes);
            break;
        }
        Xapian::Unicode::append_utf8(word, *at);
        if ((++at).AtEnd()) {
            return;
        }
    }
    // "fish+chips" is two words, not "fish+" and "chips".
    if (IsWordCharacter(*at)) {
        word.resize(withoutSuffixes);
    }
}

// Calls onWord with each of the text's words in lower case, in order.
template <typename OnWord>
void ReadWords(std::u16string_view text, OnWord&& onWord) {
    BodyCharacters at(text);
    std::string word;
    for (;;) {
        char32_t first = 0;
        while (!at.AtEnd() && (first = LowerWordCharacter(*at)) == 0) {
            ++at;
        }
        if (at.AtEnd()) {
            return;
        }
        word.clear();
        if (!ReadInitials(at, word)) {
            ReadJoinedWord(at, first, word);
        }
        onWord(word);
    }
}

}  // namespace

BodyWordIndexer::BodyWordIndexer(const Xapian::Stem& stemmer) : stems_(stemmer) {}

bool BodyWordIndexer::Index(std::u16string_view body, Xapian::valueno slot,
                            Xapian::Document& document) {
    if (MayHoldCjk(body)) {
        return false;
    }
    stems_.ForgetWhenFull();
    bodyStems_.clear();
    bodyHashes_.clear();
    ReadWords(body, [this](const std::string& word) {
        if (word.size() <= kMaxBodyWordBytes) {
            Count(word);
        }
    });
    document.add_value(slot, EncodeConsecutiveBodyWords(bodyHashes_));
    // Each stem once, with the count of its words.
    std::sort(bodyStems_.begin(), bodyStems_.end());
    for (size_t first = 0, end = 0; first < bodyStems_.size(); first = end) {
        end = first + 1;
        while (end < bodyStems_.size() && bodyStems_[end] == bodyStems_[first]) {
            ++end;
        }
        document.add_term(stems_.Term(bodyStems_[first]),
                          static_cast<Xapian::termcount>(end - first));
    }
    return true;
}

void BodyWordIndexer::Count(std::string_view word) {
    const StemmedWords::Stem stem = stems_.Of(word);
    // A word without a stem takes no position, as in the term generator.
    if (!stem.empty) {
        bodyStems_.push_back(stem.index);
        bodyHashes_.push_back(stem.hash);
    }
}

}  // namespace velmor
