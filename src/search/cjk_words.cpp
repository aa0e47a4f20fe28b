#include "search/cjk_words.h"

#include <map>
#include <string>

namespace velmor {

namespace {

// The code points of UTF-8 text.
std::u32string CodePoints(std::string_view text) {
    std::u32string points;
    for (Xapian::Utf8Iterator it(text.data(), text.size()); it != Xapian::Utf8Iterator(); ++it) {
        points += static_cast<char32_t>(*it);
    }
    return points;
}

std::string Utf8(char32_t point) {
    std::string text;
    Xapian::Unicode::append_utf8(text, point);
    return text;
}

bool IsCaselessLetter(char32_t point) {
    return Xapian::Unicode::get_category(point) == Xapian::Unicode::OTHER_LETTER;
}

// Terms by position; a text's positions each hold one term.
using TermsByPosition = std::map<Xapian::termpos, std::string>;

// Whether the term at position is the n-gram of the characters on either side of it.
bool IsCjkBigram(const TermsByPosition& terms, std::string_view prefix,
                 TermsByPosition::const_iterator at) {
    const std::string& term = at->second;
    if (term.compare(0, prefix.size(), prefix) != 0 || at == terms.begin()) {
        return false;
    }
    const std::u32string points = CodePoints(std::string_view(term).substr(prefix.size()));
    if (points.size() != 2 || !IsCaselessLetter(points[0]) || !IsCaselessLetter(points[1])) {
        return false;
    }
    const auto before = std::prev(at);
    const auto after = std::next(at);
    return after != terms.end() && before->first + 1 == at->first &&
           after->first == at->first + 1 &&
           before->second == std::string(prefix) + Utf8(points[0]) &&
           after->second == std::string(prefix) + Utf8(points[1]);
}

}  // namespace

// The Unicode blocks the term generator takes for CJK (Thai, Hangul, the CJK and kana blocks, the
// half- and full-width forms), and any character from the kana supplement on.
bool MayHoldCjk(std::u16string_view text) {
    struct Block {
        char16_t first;
        char16_t last;
    };
    static constexpr Block kCjkBlocks[] = {{0x0E00, 0x0E7F},
                                           {0x1100, 0x11FF},
                                           {0x2E80, 0x2FDF},
                                           {0x3000, 0x9FFF},
                                           {0xA700, 0xA71F},
                                           {0xA960, 0xA97F},
                                           {0xAC00, 0xD7FF},
                                           {0xF900, 0xFAFF},
                                           {0xFE30, 0xFE4F},
                                           {0xFF00, 0xFFEF},
                                           // High surrogates of U+1B000 and above.
                                           {0xD82C, 0xDBFF}};
    for (const char16_t unit : text) {
        if (unit < kCjkBlocks[0].first) {
            continue;
        }
        for (const Block& block : kCjkBlocks) {
            if (unit >= block.first && unit <= block.last) {
                return true;
            }
        }
    }
    return false;
}

Xapian::termpos CopyWithCjkCharactersAdjacent(const Xapian::Document& generated,
                                              std::string_view prefix, Xapian::termpos start,
                                              Xapian::Document& target) {
    TermsByPosition terms;
    for (auto term = generated.termlist_begin(); term != generated.termlist_end(); ++term) {
        if (term.positionlist_count() == 0) {
            target.add_term(*term, term.get_wdf());
            continue;
        }
        for (auto position = term.positionlist_begin(); position != term.positionlist_end();
             ++position) {
            terms.emplace(*position, *term);
        }
    }
    Xapian::termpos position = start;
    for (auto at = terms.begin(); at != terms.end(); ++at) {
        if (IsCjkBigram(terms, prefix, at)) {
            target.add_term(at->second);
        } else {
            target.add_posting(at->second, ++position);
        }
    }
    return position;
}

}  // namespace velmor
