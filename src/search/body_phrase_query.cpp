#include "search/body_phrase_query.h"

#include <optional>

#include "search/body_phrase_source.h"
#include "search/search_terms.h"

namespace velmor {

namespace {

// Body words are the terms without a prefix: prefixes are capitals, which terms never start with.
bool IsBodyTerm(const std::string& term) {
    return !term.empty() && !(term.front() >= 'A' && term.front() <= 'Z');
}

// Xapian shows a group's window only in its description: "(a@1 PHRASE 3 b@2 ...)".
unsigned Window(const Xapian::Query& group, const char* opName) {
    const std::string description = group.get_description();
    const std::string marker = std::string(" ") + opName + " ";
    const size_t at = description.find(marker);
    return at == std::string::npos
               ? static_cast<unsigned>(group.get_num_subqueries())
               : static_cast<unsigned>(std::stoul(description.substr(at + marker.size())));
}

// The group's words place by place, when all of them are body words.
std::optional<BodyWordGroup> BodyGroup(const Xapian::Query& group) {
    const bool ordered = group.get_type() == Xapian::Query::OP_PHRASE;
    BodyWordGroup words;
    words.ordered = ordered;
    words.window = Window(group, ordered ? "PHRASE" : "NEAR");
    for (size_t i = 0; i < group.get_num_subqueries(); ++i) {
        const Xapian::Query place = group.get_subquery(i);
        std::vector<uint32_t> hashes;
        for (auto term = place.get_terms_begin(); term != place.get_terms_end(); ++term) {
            if (!IsBodyTerm(*term)) {
                return std::nullopt;
            }
            hashes.push_back(BodyWordHash(*term));
        }
        words.places.push_back(std::move(hashes));
    }
    return words;
}

// Operators whose query is rebuilt from its subqueries alone.
bool TakesNoParameter(Xapian::Query::op op) {
    switch (op) {
        case Xapian::Query::OP_AND:
        case Xapian::Query::OP_OR:
        case Xapian::Query::OP_AND_NOT:
        case Xapian::Query::OP_XOR:
        case Xapian::Query::OP_AND_MAYBE:
        case Xapian::Query::OP_FILTER:
        case Xapian::Query::OP_SYNONYM:
        case Xapian::Query::OP_MAX:
            return true;
        default:
            return false;
    }
}

// The query rewritten, or nothing when it holds no group of body words.
std::optional<Xapian::Query> Rewritten(const Xapian::Query& query) {
    const auto op = query.get_type();
    if (op == Xapian::Query::OP_PHRASE || op == Xapian::Query::OP_NEAR) {
        std::optional<BodyWordGroup> group = BodyGroup(query);
        if (!group) {
            return std::nullopt;
        }
        std::vector<Xapian::Query> places;
        for (size_t i = 0; i < query.get_num_subqueries(); ++i) {
            places.push_back(query.get_subquery(i));
        }
        auto* source = new BodyPhraseSource(kBodyWordsSlot, std::move(*group));
        return Xapian::Query(Xapian::Query::OP_FILTER,
                             Xapian::Query(Xapian::Query::OP_AND, places.begin(), places.end()),
                             Xapian::Query(source->release()));
    }
    if (!TakesNoParameter(op)) {
        return std::nullopt;
    }
    std::vector<Xapian::Query> parts;
    bool changed = false;
    for (size_t i = 0; i < query.get_num_subqueries(); ++i) {
        const Xapian::Query part = query.get_subquery(i);
        std::optional<Xapian::Query> rewritten = Rewritten(part);
        changed = changed || rewritten.has_value();
        parts.push_back(rewritten ? std::move(*rewritten) : part);
    }
    if (!changed) {
        return std::nullopt;
    }
    return Xapian::Query(op, parts.begin(), parts.end());
}

}  // namespace

Xapian::Query WithBodyPhrasesChecked(const Xapian::Query& query) {
    std::optional<Xapian::Query> rewritten = Rewritten(query);
    return rewritten ? std::move(*rewritten) : query;
}

}  // namespace velmor
