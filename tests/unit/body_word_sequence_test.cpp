#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "search/body_word_sequence.h"

namespace velmor {
namespace {

// A body's words at the positions given, as the term generator places them.
std::string Sequence(std::initializer_list<std::pair<const char*, Xapian::termpos>> words) {
    Xapian::Document document;
    for (const auto& [term, position] : words) {
        document.add_posting(term, position);
    }
    return EncodeBodyWordSequence(document);
}

BodyWordGroup Group(std::vector<std::vector<const char*>> places, unsigned window, bool ordered) {
    BodyWordGroup group;
    group.window = window;
    group.ordered = ordered;
    for (const auto& terms : places) {
        std::vector<uint32_t> hashes;
        for (const char* term : terms) {
            hashes.push_back(BodyWordHash(term));
        }
        group.places.push_back(hashes);
    }
    return group;
}

TEST(BodyWordSequenceTest, PhrasesAndNearGroupsFollowTheWordsPositionsAcrossGapsAndSharedPlaces) {
    const std::string text = Sequence({{"sign", 1},
                                       {"the", 2},
                                       {"contract", 3},
                                       {"today", 9},
                                       {"later", 9},
                                       {"please", 400},
                                       {"sign", 401}});
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"sign"}, {"the"}, {"contract"}}, 3, true)));
    EXPECT_FALSE(ContainsBodyWordGroup(text, Group({{"contract"}, {"the"}}, 2, true)));
    EXPECT_FALSE(ContainsBodyWordGroup(text, Group({{"sign"}, {"contract"}}, 2, true)))
        << "a word lies between";
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"sign"}, {"contract"}}, 3, true)));
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"contract"}, {"sign"}}, 3, false)));
    EXPECT_FALSE(ContainsBodyWordGroup(text, Group({{"contract"}, {"today"}}, 6, false)))
        << "six positions apart";
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"contract"}, {"today"}}, 7, false)));
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"later"}, {"today"}}, 1, false)))
        << "two words at one position";
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"please"}, {"sign"}}, 2, true)))
        << "after a jump of hundreds of positions";
    EXPECT_TRUE(ContainsBodyWordGroup(text, Group({{"the", "please"}, {"sign"}}, 2, true)))
        << "a place taken by either word";
    EXPECT_FALSE(ContainsBodyWordGroup(text, Group({{"sign"}, {"missing"}}, 10, false)));
    EXPECT_FALSE(ContainsBodyWordGroup(text.substr(0, text.size() - 2),
                                       Group({{"please"}, {"sign"}}, 2, true)))
        << "a cut sequence ends where it is cut";
}

}  // namespace
}  // namespace velmor
