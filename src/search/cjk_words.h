#pragma once

#include <string_view>

#include <xapian.h>

namespace velmor {

// Whether the text may hold a character the term generator splits into CJK n-grams.
bool MayHoldCjk(std::u16string_view text);

// The term generator, stemming every word, gives each two-character n-gram of CJK text a
// position between those of its characters, so that the characters of a CJK word stand two
// apart where a phrase query asks for them side by side. Copies the terms of generated, made
// from one text under prefix, into target with the n-grams as terms without positions and the
// other positions closed up from after start on; the last position given, or start.
Xapian::termpos CopyWithCjkCharactersAdjacent(const Xapian::Document& generated,
                                              std::string_view prefix, Xapian::termpos start,
                                              Xapian::Document& target);

}  // namespace velmor
