#pragma once

#include <xapian.h>

#include "search/body_word_sequence.h"

namespace velmor {

// The documents whose body word sequence holds a phrase or NEAR group: a filter beside the
// AND of the group's words, which finds the documents that hold them at all.
class BodyPhraseSource : public Xapian::ValuePostingSource {
public:
    BodyPhraseSource(Xapian::valueno slot, BodyWordGroup group);

    void next(double minWeight) override;
    void skip_to(Xapian::docid document, double minWeight) override;
    bool check(Xapian::docid document, double minWeight) override;
    BodyPhraseSource* clone() const override;
    std::string get_description() const override;

private:
    bool Holds() const { return ContainsBodyWordGroup(get_value(), group_); }
    void SkipNonHolding(double minWeight);

    BodyWordGroup group_;
};

}  // namespace velmor
