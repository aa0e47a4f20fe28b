#include "wizard/path_box_trim.h"

#include <gtest/gtest.h>

namespace velmor::ui {
namespace {

// What the path box shows once its change handler has run to the end.
std::u16string Settled(std::u16string text) {
    while (auto shorter = TrimPathBoxOnce(text)) {
        text = *shorter;
    }
    return text;
}

TEST(PathBoxTrimTest, LeadingBlanksAndTabsAndTrailingTabsGoTrailingBlanksStay) {
    EXPECT_EQ(Settled(u"  /data/Priv1.EDB"), u"/data/Priv1.EDB");
    EXPECT_EQ(Settled(u"\t \t/data/Priv1.EDB"), u"/data/Priv1.EDB");
    EXPECT_EQ(Settled(u"/data/Priv1.EDB\t\t"), u"/data/Priv1.EDB");
    EXPECT_EQ(Settled(u"/data/Priv1.EDB  "), u"/data/Priv1.EDB  ");
    EXPECT_EQ(Settled(u" \t/data/Priv1.EDB \t"), u"/data/Priv1.EDB ");
    EXPECT_EQ(Settled(u"/data/My Files/Priv1.EDB"), u"/data/My Files/Priv1.EDB");
    EXPECT_EQ(Settled(u"   "), u"");
}

TEST(PathBoxTrimTest, ATrailingTabGoesBeforeALeadingBlank) {
    EXPECT_EQ(TrimPathBoxOnce(u" a\t"), std::u16string(u" a"));
    EXPECT_EQ(TrimPathBoxOnce(u" a"), std::u16string(u"a"));
    EXPECT_EQ(TrimPathBoxOnce(u"a"), std::nullopt);
    EXPECT_EQ(TrimPathBoxOnce(u""), std::nullopt);
}

}  // namespace
}  // namespace velmor::ui
