#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <xapian.h>

#include "search/stemmed_words.h"

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
    void Count(std::string_view word);

    StemmedWords stems_;
    // The body being indexed: its words' stems and their hashes, in word order.
    std::vector<uint32_t> bodyStems_;
    std::vector<uint32_t> bodyHashes_;
};

}  // namespace velmor
