#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "browse/folder_table_lookup.h"
#include "browse/folder_table_name.h"

namespace velmor {
namespace {

TEST(FolderTableNameTest, DropsTheFirstCharacterAndTheZerosAfterTheNextAndAddsAHyphen) {
    EXPECT_EQ(FolderTableName(u"01012"), u"1-12");
    EXPECT_EQ(FolderTableName(u"0100000000000012"), u"1-12");
    EXPECT_EQ(FolderTableName(u"0A1B000000000012"), u"A-1B000000000012");
    EXPECT_EQ(FolderTableName(u"0200000000000000"), u"2-");
    EXPECT_EQ(FolderTableName(u""), u"");
}

TEST(FolderTableLookupTest, AnswersExactlyAsTheCatalogWalkDoes) {
    std::mt19937 random(20070410);
    auto digits = [&](size_t count) {
        static constexpr char16_t kHex[] = u"0123456789ABCDEF";
        std::u16string text;
        for (size_t i = 0; i < count; ++i) {
            // Mostly zeros and ones, so that names overlap and contain one another.
            const auto roll = random() % 8;
            text += roll < 3 ? u'0' : roll < 6 ? u'1' : kHex[random() % 16];
        }
        return text;
    };
    std::vector<CatalogEntry> catalog;
    for (int32_t i = 0; i < 400; ++i) {
        std::u16string name;
        switch (random() % 4) {
            case 0:
                name = u"S3a0" + digits(1);  // a column name
                break;
            case 1:
                name = digits(1) + u"-" + digits(1 + random() % 4);
                break;
            case 2:
                name = digits(1 + random() % 3) + u"-" + digits(random() % 4) + u"-" + digits(2);
                break;
            default:
                name = u"Msg" + digits(1) + u"-" + digits(2);
        }
        catalog.push_back(CatalogEntry{100 + i, i, name, 0, 0});
    }
    catalog.push_back(CatalogEntry{0, 0, u"1-1", 0, 0});  // a match whose table id is 0
    std::vector<std::u16string> names;
    for (int i = 0; i < 300; ++i) {
        // Folder ids are mostly zeros in the middle, which the table name drops.
        const size_t tail = 1 + random() % 4;
        names.push_back(
            FolderTableName(digits(2) + std::u16string(14 - tail, u'0') + digits(tail)));
    }
    names.push_back(u"1-1");
    names.push_back(u"");
    names.push_back(u"-1");  // not the shape of a folder table name
    names.push_back(u"1--");

    const FolderTableLookup lookup(catalog, names);
    int found = 0;
    for (const std::u16string& name : names) {
        EXPECT_EQ(lookup.FindFolderTable(name), FindFolderTable(catalog, name));
        found += FindFolderTable(catalog, name) != 0 ? 1 : 0;
    }
    EXPECT_GT(found, 20) << "the names should overlap enough to test the first-match rule";
}

TEST(FolderTableLookupTest, TheFirstEntryContainingTheNameWinsEvenInsideALongerName) {
    const std::vector<CatalogEntry> catalog = {
        {50, 50, u"11-123", kTableRecordMarker, 0},
        {60, 60, u"1-12", kTableRecordMarker, 0},
    };
    const FolderTableLookup lookup(catalog, {u"1-12", u"1-123"});
    EXPECT_EQ(lookup.FindFolderTable(u"1-12"), 50);
    EXPECT_EQ(lookup.FindFolderTable(u"1-123"), 50);
}

}  // namespace
}  // namespace velmor
