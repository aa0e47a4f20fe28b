#include "search/search_query.h"

#include <iterator>

#include "search/body_phrase_query.h"
#include "search/search_terms.h"

namespace velmor {

namespace {

// The fields a word without a prefix is looked for in: it becomes a term in each.
constexpr const char* kDefaultPrefixes[] = {kSenderPrefix,        kToPrefix,      kCcPrefix,
                                            kBccPrefix,           kSubjectPrefix, kBodyPrefix,
                                            kAttachmentNamePrefix};
// A query's terms cost Xapian time that grows with their square: 1,000 words without a
// prefix are the most one query holds.
constexpr Xapian::termcount kMaxQueryWords = 1000;
constexpr Xapian::termcount kMaxQueryTerms = kMaxQueryWords * std::size(kDefaultPrefixes);

}  // namespace

Xapian::Query ParseSearchQuery(const Xapian::Database& index, const std::string& text,
                               const std::string& stemLanguage) {
    Xapian::QueryParser parser;
    parser.set_database(index);
    parser.set_stemmer(Xapian::Stem(stemLanguage));
    // The index holds stems only, so every word of a query is stemmed, phrases' too.
    parser.set_stemming_strategy(Xapian::QueryParser::STEM_ALL);
    parser.set_default_op(Xapian::Query::OP_AND);
    struct Field {
        const char* name;
        const char* prefix;
    };
    static constexpr Field kFields[] = {{"from", kSenderPrefix},     {"to", kToPrefix},
                                        {"cc", kCcPrefix},           {"bcc", kBccPrefix},
                                        {"subject", kSubjectPrefix}, {"body", kBodyPrefix},
                                        {"folder", kFolderPrefix}};
    for (const Field& field : kFields) {
        parser.add_prefix(field.name, field.prefix);
    }
    for (const char* prefix : kDefaultPrefixes) {
        parser.add_prefix("", prefix);
    }
    parser.add_boolean_prefix("kind", kKindPrefix);
    parser.add_boolean_prefix("has", kHasPrefix);
    parser.add_rangeprocessor((new Xapian::DateRangeProcessor(kDateSlot, "date:"))->release());
    parser.add_boolean_prefix("date", kDatePrefix);
    constexpr unsigned kFlags = Xapian::QueryParser::FLAG_DEFAULT |
                                Xapian::QueryParser::FLAG_BOOLEAN_ANY_CASE |
                                Xapian::QueryParser::FLAG_CJK_NGRAM;
    const Xapian::Query query = parser.parse_query(text, kFlags);
    if (query.get_length() > kMaxQueryTerms) {
        throw Xapian::QueryParserError("the query has more than " + std::to_string(kMaxQueryWords) +
                                       " words; search for fewer");
    }
    return WithBodyPhrasesChecked(query);
}

}  // namespace velmor
