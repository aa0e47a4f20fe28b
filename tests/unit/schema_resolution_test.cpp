#include <gtest/gtest.h>

#include "discovery/null_progress_sink.h"
#include "discovery/schema_resolution.h"

namespace velmor {
namespace {

class SchemaResolutionTest : public testing::Test {
protected:
    SchemaIds Resolve() {
        ProcessingContext context{file_, store_, sink_, stop_};
        ResolveSchema(context);
        return store_.schema;
    }
    void Add(int32_t table, int32_t id, std::u16string name, uint32_t marker = 0) {
        store_.catalog.push_back(CatalogEntry{table, id, std::move(name), marker, 0});
    }

    EdbFile file_;
    RecoveredStore store_;
    NullProgressSink sink_;
    StopFlag stop_;
};

TEST_F(SchemaResolutionTest, AnEmptyCatalogGivesExactlyTheThreeDefaults) {
    const SchemaIds schema = Resolve();
    EXPECT_EQ(schema.msgTableId, kDefaultMsgTableId);
    EXPECT_EQ(schema.foldersTableId, kDefaultFoldersTableId);
    EXPECT_EQ(schema.mailboxTableId, kDefaultMailboxTableId);
    EXPECT_EQ(schema.msgTableObjectId, 0);
    EXPECT_EQ(schema.containerClassColumn, 0);
    EXPECT_EQ(schema.msgLongValueId, 0);
    for (int32_t column : schema.messageColumns) {
        EXPECT_EQ(column, 0);
    }
}

TEST_F(SchemaResolutionTest, TablesTakeTheFirstRecordAndMessageColumnsTheLast) {
    Add(40, 40, u"Msg", kTableRecordMarker);
    Add(41, 41, u"Msg", kTableRecordMarker);
    Add(50, 7, u"Mailbox");  // a column named Mailbox is no table
    Add(51, 51, u"Mailbox", kTableRecordMarker);
    Add(52, 52, u"Folders", kTableRecordMarker);
    Add(52, 130, u"S3613");
    Add(52, 131, u"S3613");
    Add(40, 256, u"S3a06");
    Add(40, 257, u"S3a06");
    Add(41, 300, u"S3a11");  // belongs to the second Msg table
    Add(40, 60, u"LV");
    Add(40, 61, u"LV");
    Add(40, 270, u"s3a08");  // names compare case-sensitively

    const SchemaIds schema = Resolve();
    EXPECT_EQ(schema.msgTableId, 40);
    EXPECT_EQ(schema.msgTableObjectId, 40);
    EXPECT_EQ(schema.mailboxTableId, 51);
    EXPECT_EQ(schema.foldersTableId, 52);
    EXPECT_EQ(schema.containerClassColumn, 130);
    EXPECT_EQ(schema.column(MessageColumn::S3a06), 257);
    EXPECT_EQ(schema.column(MessageColumn::S3a11), 0);
    EXPECT_EQ(schema.column(MessageColumn::S3a08), 0);
    EXPECT_EQ(schema.msgLongValueId, 60);
}

TEST_F(SchemaResolutionTest, AMsgRecordWithADamagedRootFlagLeavesTheDefaultAndNoColumns) {
    Add(40, 40, u"Msg", 254);
    Add(40, 256, u"S3a06");
    Add(19, 257, u"S3a11");
    const SchemaIds schema = Resolve();
    EXPECT_EQ(schema.msgTableId, kDefaultMsgTableId);
    EXPECT_EQ(schema.column(MessageColumn::S3a06), 0);
    EXPECT_EQ(schema.column(MessageColumn::S3a11), 0)
        << "the default applies to the page scans only, not to the column search";
}

TEST_F(SchemaResolutionTest, AStopEndsThePartBeforeTheDefaults) {
    Add(40, 40, u"Msg", kTableRecordMarker);
    stop_.request();
    const SchemaIds schema = Resolve();
    EXPECT_EQ(schema.msgTableId, 0);
    EXPECT_EQ(schema.mailboxTableId, 0);
}

}  // namespace
}  // namespace velmor
