#include "search/body_phrase_source.h"

namespace velmor {

BodyPhraseSource::BodyPhraseSource(Xapian::valueno slot, BodyWordGroup group)
    : Xapian::ValuePostingSource(slot), group_(std::move(group)) {}

void BodyPhraseSource::SkipNonHolding(double minWeight) {
    while (!at_end() && !Holds()) {
        Xapian::ValuePostingSource::next(minWeight);
    }
}

void BodyPhraseSource::next(double minWeight) {
    Xapian::ValuePostingSource::next(minWeight);
    SkipNonHolding(minWeight);
}

void BodyPhraseSource::skip_to(Xapian::docid document, double minWeight) {
    Xapian::ValuePostingSource::skip_to(document, minWeight);
    SkipNonHolding(minWeight);
}

bool BodyPhraseSource::check(Xapian::docid document, double minWeight) {
    if (!Xapian::ValuePostingSource::check(document, minWeight)) {
        return false;
    }
    if (at_end()) {
        return true;
    }
    if (get_docid() == document) {
        return Holds();
    }
    SkipNonHolding(minWeight);
    return true;
}

BodyPhraseSource* BodyPhraseSource::clone() const {
    return new BodyPhraseSource(get_slot(), group_);
}

std::string BodyPhraseSource::get_description() const {
    return "BodyPhraseSource(" + std::to_string(group_.places.size()) + " words)";
}

}  // namespace velmor
