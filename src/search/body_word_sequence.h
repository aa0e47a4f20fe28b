#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include <xapian.h>

namespace velmor {

// A body's words in their order, kept in a value slot instead of as Xapian positions: the
// positions of every body word took twice the bodies' size on disk and most of the build's
// time, while phrases only need the order of the few documents that hold all their words.
// Each word is kept as a 32-bit hash of its term, in position order.

uint32_t BodyWordHash(std::string_view term);

// The sequence of the terms and positions of a document that holds a body's words only.
std::string EncodeBodyWordSequence(const Xapian::Document& bodyWords);
// The sequence of words at consecutive positions from the first, given as their hashes.
std::string EncodeConsecutiveBodyWords(const std::vector<uint32_t>& hashes);

// The words of a phrase or a NEAR group: each place may be taken by any of its hashes.
struct BodyWordGroup {
    std::vector<std::vector<uint32_t>> places;
    // Positions the group may span, as Xapian counts its window.
    unsigned window = 0;
    // A phrase keeps its words' order; NEAR does not.
    bool ordered = true;
};

bool ContainsBodyWordGroup(std::string_view sequence, const BodyWordGroup& group);

}  // namespace velmor
