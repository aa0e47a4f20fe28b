#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edb_writer/demo_store.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "message_index_contents.h"
#include "opened_database.h"

namespace velmor {
namespace {

using testdb::Folder;
using testdb::Item;
using testdb::Mailbox;
using testdb::StoreBuilder;

void ExpectGatheredEqualsReadAgain(test::OpenedDatabase& db) {
    const std::vector<std::string> readAgain = test::IndexOfRun(db.file, false);
    ASSERT_FALSE(readAgain.empty());
    for (size_t limit : {size_t{0}, size_t{3}, size_t{40}, MessageCandidates::kOthersLimit}) {
        SCOPED_TRACE("others limit " + std::to_string(limit));
        EXPECT_EQ(test::IndexOfRun(db.file, true, limit), readAgain);
    }
}

// Many folders with their own tables, one of them larger than the message table's share of
// any prefix of the file, and ids that repeat.
StoreBuilder ManyTablesStore() {
    StoreBuilder builder;
    const auto key = builder.AddMailbox(Mailbox{"Ann Walker"});
    std::vector<testdb::EntryId> folders;
    for (int f = 0; f < 12; ++f) {
        Folder folder;
        folder.parent = key;
        folder.name = "Folder " + std::to_string(f);
        folder.containerClass = "IPF.Note";
        folders.push_back(builder.AddFolder(folder));
    }
    testdb::EntryId repeated{};
    for (int m = 0; m < 900; ++m) {
        Item mail;
        mail.subject = "Mail " + std::to_string(m);
        mail.sender = "Carol Hughes";
        mail.time = testdb::FileTimeFromUtc(2007, 10, 4, 8, m % 60, 0);
        if (m % 7 == 3) {
            mail.id = repeated;
        }
        const auto id = builder.AddItem(folders[m < 500 ? 0 : m % 12], mail);
        if (m == 3) {
            repeated = id;
        }
    }
    return builder;
}

TEST(MessageCandidatesTest, TheRecordsGatheredInThePassGiveTheIndexThatReadingAgainGives) {
    {
        SCOPED_TRACE("demo store");
        test::OpenedDatabase db(testdb::BuildDemoStore());
        ExpectGatheredEqualsReadAgain(db);
    }
    {
        SCOPED_TRACE("many tables");
        test::OpenedDatabase db(ManyTablesStore());
        ExpectGatheredEqualsReadAgain(db);
    }
}

}  // namespace
}  // namespace velmor
