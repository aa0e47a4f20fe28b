#include <gtest/gtest.h>

#include <vector>

#include "discovery/catalog_scan.h"
#include "discovery/page_grouping.h"
#include "edb/text_codec.h"
#include "edb_writer/catalog_record.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::CatalogNodeForm;
using testdb::CatalogRecord;
using testdb::Page;

constexpr int32_t kBound = 500;

std::vector<CatalogEntry> ScanPage(const Page& page, int32_t bound = kBound) {
    std::vector<CatalogEntry> entries;
    ScanCatalogPage(test::ViewOf(page), bound, entries);
    return entries;
}

// Places the encoded records one after another from the given offset.
Page PageWith(const std::vector<CatalogRecord>& records, int64_t offset = 40) {
    Page page(2);
    for (const CatalogRecord& record : records) {
        const auto bytes = testdb::EncodeCatalogRecord(record);
        page.PutBytes(offset, bytes);
        offset += static_cast<int64_t>(bytes.size()) + 3;
    }
    return page;
}

CatalogRecord Named(CatalogNodeForm form, int32_t table, int32_t id, const std::string& name) {
    CatalogRecord record = testdb::ColumnRecord(table, id, name, 10);
    record.form = form;
    return record;
}

TEST(CatalogScanTest, EverySignatureFormGivesItsFields) {
    std::vector<CatalogRecord> records;
    int32_t id = 300;
    for (CatalogNodeForm form : testdb::kCatalogNodeForms) {
        ++id;
        records.push_back(Named(form, 19, id, "S3a0" + std::to_string(id % 10)));
    }
    records.push_back(testdb::TableRecord(19, "Msg", 77));
    const auto entries = ScanPage(PageWith(records));
    ASSERT_EQ(entries.size(), records.size());
    for (size_t i = 0; i + 1 < entries.size(); ++i) {
        EXPECT_EQ(entries[i].tableObjectId, 19);
        EXPECT_EQ(entries[i].id, records[i].id);
        EXPECT_EQ(entries[i].typeOrRootPage, 10);
        EXPECT_NE(entries[i].rootMarker, kTableRecordMarker);
        EXPECT_EQ(entries[i].name, Utf8ToUtf16("S3a0" + std::to_string(records[i].id % 10)));
    }
    EXPECT_EQ(entries.back().name, u"Msg");
    EXPECT_EQ(entries.back().rootMarker, kTableRecordMarker);
    EXPECT_EQ(entries.back().typeOrRootPage, 77);
}

TEST(CatalogScanTest, EmptyColumnsAreSteppedOverSoATemplateNameFollowsTheName) {
    CatalogRecord record = testdb::TableRecord(120, "1-12", 5);
    record.variableColumns.push_back({});
    record.variableColumns.push_back(testdb::CatalogName("MsgFolderTemplate"));
    const auto entries =
        ScanPage(PageWith({record, Named(CatalogNodeForm::Shared13Own0, 1, 2, "X")}));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].name, u"1-12MsgFolderTemplate");
    EXPECT_EQ(entries[1].name, u"X") << "the scan resumes after the whole variable data";
}

TEST(CatalogScanTest, NamesOfOneToNineHundredNinetyNineBytesAreAccepted) {
    EXPECT_EQ(ScanPage(PageWith({Named(CatalogNodeForm::Shared4Own9, 4, 1, std::string(999, 'n'))}))
                  .at(0)
                  .name.size(),
              999u);
    EXPECT_TRUE(
        ScanPage(PageWith({Named(CatalogNodeForm::Shared4Own9, 4, 1, std::string(1000, 'n'))}))
            .empty());
    // A name cut at a zero byte.
    CatalogRecord zero = Named(CatalogNodeForm::Shared4Own9, 4, 1, "ab");
    zero.variableColumns[0] = {'a', 0, 'b'};
    EXPECT_EQ(ScanPage(PageWith({zero})).at(0).name, u"a");
}

TEST(CatalogScanTest, ANameRunningPastThePageIsEmptyButTheEntryIsMade) {
    // q + n stays below 4046 while the 90-byte name runs past byte 4095.
    const CatalogRecord record = Named(CatalogNodeForm::Shared13Own0, 4, 9, std::string(90, 'z'));
    Page page(2);
    const auto bytes = testdb::EncodeCatalogRecord(record);
    page.PutClipped(4000, bytes);
    const auto entries = ScanPage(page);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].id, 9);
    EXPECT_EQ(entries[0].name, u"");
}

TEST(CatalogScanTest, RecordsOfImplausibleTablesAreSkippedAndTheScanGoesOn) {
    const auto entries =
        ScanPage(PageWith({Named(CatalogNodeForm::Shared4Own9, 0, 1, "Zero"),
                           Named(CatalogNodeForm::Shared4Own9, kBound + 1, 1, "High"),
                           Named(CatalogNodeForm::Shared4Own9, kBound, 1, "Top")}));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, u"Top");
}

TEST(CatalogScanTest, ASignatureAtPosition4040YieldsNothing) {
    Page page(2);
    page.PutClipped(4040,
                    testdb::EncodeCatalogRecord(Named(CatalogNodeForm::Shared13Own0, 4, 1, "A")));
    EXPECT_TRUE(ScanPage(page).empty());
}

TEST(CatalogScanTest, CatalogComesBeforeShadowAndBothPageListsAreReleased) {
    testdb::DatabaseImage image;
    image.SetHighestObjectId(60);
    const Page shadow = PageWith({testdb::TableRecord(40, "Shadowed", 1)});
    image.AppendPage(shadow);
    Page catalog = PageWith({testdb::TableRecord(41, "First", 1)});
    catalog.SetObjectId(2);
    Page shadowCopy = shadow;
    shadowCopy.SetObjectId(3);
    image.AppendPage(shadowCopy);
    image.AppendPage(catalog);
    for (int i = 0; i < 60; ++i) {
        image.AppendPage(Page(50));
    }
    test::OpenedDatabase db(image);
    GroupPagesByObject(db.context);
    ScanCatalog(db.context);

    std::vector<std::u16string> names;
    for (const CatalogEntry& entry : db.store.catalog) {
        names.push_back(entry.name);
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Shadowed", u"First", u"Shadowed"}));
    const ObjectPageGroup* catalogGroup = db.store.pageGroups.Find(2);
    ASSERT_NE(catalogGroup, nullptr);
    EXPECT_EQ(catalogGroup->pageCount, 2);
    EXPECT_TRUE(catalogGroup->pages.empty());
    EXPECT_TRUE(db.store.pageGroups.Find(3)->pages.empty());
    EXPECT_EQ(db.sink.Matching("SetProgress").back(), "SetProgressPosition 3");
}

TEST(CatalogScanTest, WithoutAShadowCatalogNothingIsScanned) {
    testdb::DatabaseImage image;
    image.AppendPage(PageWith({testdb::TableRecord(40, "Only", 1)}));
    for (int i = 0; i < 10; ++i) {
        image.AppendPage(Page(50));
    }
    test::OpenedDatabase db(image);
    GroupPagesByObject(db.context);
    ScanCatalog(db.context);
    EXPECT_TRUE(db.store.catalog.empty());
    EXPECT_FALSE(db.store.pageGroups.Find(2)->pages.empty());
}

}  // namespace
}  // namespace velmor
