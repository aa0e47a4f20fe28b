#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "edb/text_codec.h"
#include "search/body_word_indexer.h"
#include "search/body_word_sequence.h"

namespace velmor {
namespace {

constexpr Xapian::valueno kSlot = 1;

struct IndexedBody {
    std::vector<std::pair<std::string, Xapian::termcount>> terms;
    std::string sequence;

    bool operator==(const IndexedBody&) const = default;
};

void PrintTo(const IndexedBody& indexed, std::ostream* out) {
    for (const auto& [term, wdf] : indexed.terms) {
        *out << term << ":" << wdf << " ";
    }
    *out << "(" << indexed.sequence.size() / 4 << " words in order)";
}

IndexedBody Read(const Xapian::Document& document, const std::string& sequence) {
    IndexedBody indexed;
    for (auto term = document.termlist_begin(); term != document.termlist_end(); ++term) {
        indexed.terms.emplace_back(*term, term.get_wdf());
    }
    indexed.sequence = sequence;
    return indexed;
}

// The body as Xapian's term generator indexes it, its word sequence taken from its positions.
IndexedBody ByTermGenerator(const std::u16string& body) {
    Xapian::TermGenerator terms;
    terms.set_stemmer(Xapian::Stem("english"));
    terms.set_stemming_strategy(Xapian::TermGenerator::STEM_ALL);
    terms.set_flags(Xapian::TermGenerator::FLAG_CJK_NGRAM);
    Xapian::Document document;
    terms.set_document(document);
    terms.index_text(Utf16ToUtf8(body));
    return Read(document, EncodeBodyWordSequence(document));
}

IndexedBody ByIndexer(BodyWordIndexer& indexer, const std::u16string& body) {
    Xapian::Document document;
    EXPECT_TRUE(indexer.Index(body, kSlot, document));
    return Read(document, document.get_value(kSlot));
}

std::string Shown(const std::u16string& body) {
    std::string shown;
    for (const char16_t unit : body) {
        shown += unit >= 0x20 && unit < 0x7F ? std::string(1, static_cast<char>(unit))
                                             : "\\u" + std::to_string(unit) + " ";
    }
    return shown;
}

TEST(BodyWordIndexerTest, MakesTheTermGeneratorsTermsCountsAndWordOrderForWordsOfEveryShape) {
    const std::u16string bodies[] = {
        u"",
        u"Meeting moved to Friday; the meetings were running late.",
        u"U.S.A. and P.T.O but U.S.x, A.b and A. B.",
        u"AT&T, M&S, don't, don\u2019t, rock\u201bn, l\u00b7l, x\u05f4y, a\u2027b",
        u"zero\u200bwidth\u200cjoin\u2060ed\ufeffword and trailing\u200b",
        u"1,000.50 and 3;4 and 5\u037e6 and 7\u20448 and 1,a and a,1 and \u0661,\u0662",
        u"C++ C# F#+ a+++ a++++ fish+chips c++11 x#y ++ #",
        u"Caf\u00e9 CAF\u00c9 stra\u00dfe \u0130stanbul \u03a3\u039f\u03a3 e\u0301t\u00e9 "
        u"snake_case",
        u"\U00010400\U00010401 deseret and a lone \xd801 surrogate \xdc00 too",
        u"runs running ran runner, RUNS",
        std::u16string(64, u'a') + u" " + std::u16string(65, u'b') + u" " +
            std::u16string(33, u'\u00e9') + u" " + std::u16string(32, u'\u00e9') + u" end",
    };
    BodyWordIndexer indexer{Xapian::Stem("english")};
    for (const std::u16string& body : bodies) {
        EXPECT_EQ(ByIndexer(indexer, body), ByTermGenerator(body)) << Shown(body);
    }
    // Characters that make words, join them, end them or lie between them, at random.
    const std::u16string alphabet =
        u"abcxyzABUSE019 \t\r\n.,;:'&+#-_@/\u2019\u201b\u200b\u200d\u2060\ufeff\u00b7\u05f4"
        u"\u2027\u037e\u2044\u00e9\u00c9\u00df\u0301\u0130\u03a3\u0661\u0966\u2163\xd801\xdc01";
    std::mt19937 random(25);
    for (int i = 0; i < 3000; ++i) {
        std::u16string body;
        const size_t length = random() % 40;
        for (size_t k = 0; k < length; ++k) {
            body += alphabet[random() % alphabet.size()];
        }
        ASSERT_EQ(ByIndexer(indexer, body), ByTermGenerator(body)) << Shown(body);
    }
}

TEST(BodyWordIndexerTest, KeepsMakingTheSameTermsAfterForgettingTheStemsOfManyWords) {
    BodyWordIndexer indexer{Xapian::Stem("english")};
    std::u16string manyWords;
    for (int i = 0; i < 70000; ++i) {
        manyWords += u"w" + Utf8ToUtf16(std::to_string(i)) + u"ing ";
    }
    EXPECT_EQ(ByIndexer(indexer, manyWords), ByTermGenerator(manyWords));
    const std::u16string body = u"w1ing and w2ing are running w1ing";
    EXPECT_EQ(ByIndexer(indexer, body), ByTermGenerator(body));
}

TEST(BodyWordIndexerTest, LeavesBodiesWithCjkCharactersToTheTermGenerator) {
    BodyWordIndexer indexer{Xapian::Stem("english")};
    for (const std::u16string body : {u"report \u4f1a\u8b70", u"\u0e2a\u0e27\u0e31\u0e2a",
                                      u"\ud55c\uad6d", u"full\uff37idth", u"kana \U0001B001"}) {
        Xapian::Document document;
        EXPECT_FALSE(indexer.Index(body, kSlot, document)) << Shown(body);
        EXPECT_EQ(document.termlist_count(), 0U);
        EXPECT_TRUE(document.get_value(kSlot).empty());
    }
}

}  // namespace
}  // namespace velmor
