#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <xapian.h>

namespace velmor {

// A body's words into its document, as Xapian's term generator would put them there with
// STEM_ALL and FLAG_CJK_NGRAM, without the term generator: one pass over the UTF-16 text makes
// the stemmed terms with their counts and the word sequence (see body_word_sequence.h), and each
// distinct word is stemmed once per indexer, not once per occurrence. The term generator's
// positions, its document of the body alone and the copy of its terms out of it are what this
// saves; the index stays the same.
//
// One indexer per thread: it keeps the words it has stemmed.
class BodyWordIndexer {
public:
    explicit BodyWordIndexer(const Xapian::Stem& stemmer);

    // Adds the body's terms and its word sequence (in slot) to the document. False, with the
    // document untouched, for a body holding CJK characters: the term generator's n-grams of
    // them are left to the term generator.
    bool Index(std::u16string_view body, Xapian::valueno slot, Xapian::Document& document);

private:
    struct KnownStem {
        std::string term;
        uint32_t hash = 0;
        // The body this stem was last counted in, and its count there.
        uint64_t body = 0;
        Xapian::termcount wdf = 0;
    };

    // The stem of a lower-case word, stemmed on its first sight.
    void Count(const std::string& word);
    uint32_t StemIndex(const std::string& word);

    Xapian::Stem stemmer_;
    // Words to their stems' indexes in stems_; several words may share a stem.
    std::unordered_map<std::string, uint32_t> stemOfWord_;
    std::unordered_map<std::string, uint32_t> stemIndex_;
    std::vector<KnownStem> stems_;
    uint64_t body_ = 0;
    // The body being indexed: its distinct stems and their hashes in word order.
    std::vector<uint32_t> bodyStems_;
    std::vector<uint32_t> bodyHashes_;
};

}  // namespace velmor
