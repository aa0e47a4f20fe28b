#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"
#include "edb_writer/database_image.h"
#include "edb_writer/entry_id.h"
#include "edb_writer/store_builder.h"

namespace velmor {
namespace {

using test::RunCli;

TEST(CliContractTest, UsageErrorsAreOneLineOnStderrWithStatusTwo) {
    test::TempDir tmp;
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"list"},
                                                      {"catalog"},
                                                      {"catalog", ""},
                                                      {"mailboxes", "a.edb", "b.edb"},
                                                      {"mailboxes", "--xml", "a.edb"},
                                                      {"mailboxes", "--code-page", "x", "a.edb"},
                                                      {"folders", "--code-page", "99999", "a", "1"},
                                                      {"catalog", "a.edb", "--code-page"}}) {
        const auto result = RunCli(arguments, tmp.path());
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.empty());
        ASSERT_FALSE(result.err.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
    const auto help = RunCli({"--help"}, tmp.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("velmor-cli mailboxes [--code-page N] [--json] FILE"),
              std::string::npos);
    const auto version = RunCli({"--version"}, tmp.path());
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "velmor-cli " VELMOR_VERSION "\n");
}

TEST(CliContractTest, PathMessagesGoToStderrWithStatusOne) {
    test::TempDir tmp;
    { std::ofstream(tmp / "notes.txt") << "x"; }
    const auto missing = RunCli({"catalog", (tmp / "gone.edb").string()}, tmp.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "File Does Not Exist\n");
    const auto wrongName = RunCli({"mailboxes", (tmp / "notes.txt").string()}, tmp.path());
    EXPECT_EQ(wrongName.exitCode, 1);
    EXPECT_EQ(wrongName.err, "Not an EDB File\n");
}

}  // namespace
}  // namespace velmor

namespace velmor {
namespace {

// A store with two mailboxes, one of them named with characters JSON must escape.
std::filesystem::path WriteTwoMailboxStore(const test::TempDir& dir) {
    testdb::StoreBuilder builder;
    testdb::Mailbox ann;
    ann.name = "Ann \"Quoted\" Smith";
    ann.key = testdb::MakeEntryId(1, 0xA1);
    builder.AddMailbox(ann);
    testdb::Mailbox bob;
    bob.name = "Mailbox - Bob";
    bob.key = testdb::MakeEntryId(2, 0xB2);
    builder.AddMailbox(bob);
    const auto path = dir / "two.EDB";
    builder.WriteTo(path);
    return path;
}

TEST(CliContractTest, MailboxesPrintsRowsAsTabSeparatedLinesOrJson) {
    test::TempDir tmp;
    const auto store = WriteTwoMailboxStore(tmp);
    const auto plain = test::RunCli({"mailboxes", store.string()}, tmp.path());
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out,
              "1\tMailbox - Ann \"Quoted\" Smith\t01000000000000A1\n"
              "2\tMailbox - Bob\t02000000000000B2\n");
    const auto json = test::RunCli({"mailboxes", "--json", store.string()}, tmp.path());
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_EQ(json.out,
              "{\"mailboxes\": [{\"no\": 1, \"name\": \"Mailbox - Ann \\\"Quoted\\\" Smith\", "
              "\"key\": \"01000000000000A1\"}, {\"no\": 2, \"name\": \"Mailbox - Bob\", \"key\": "
              "\"02000000000000B2\"}], \"unreadablePages\": 0, \"codePage\": 1252}\n");
    EXPECT_EQ(json.err, "") << "no progress bar when stderr is not a terminal";
    EXPECT_FALSE(test::HoldsMessageTemplate(tmp.path()));
}

TEST(CliContractTest, CatalogListsEveryEntryAndAnEmptyRunFindsNoUser) {
    test::TempDir tmp;
    const auto store = WriteTwoMailboxStore(tmp);
    const auto catalog = test::RunCli({"catalog", "--json", store.string()}, tmp.path());
    EXPECT_EQ(catalog.exitCode, 0);
    EXPECT_TRUE(catalog.out.starts_with("{\"entries\": [{\"tableObjectId\": "));
    EXPECT_NE(catalog.out.find("\"name\": \"Mailbox\", \"rootMarker\": 255"), std::string::npos);
    const auto plain = test::RunCli({"catalog", store.string()}, tmp.path());
    EXPECT_NE(plain.out.find("\tMsg\t255\t"), std::string::npos);

    testdb::DatabaseImage empty;
    for (int i = 0; i < 4; ++i) {
        empty.AppendPage(testdb::Page(2));
    }
    empty.WriteTo(tmp / "empty.edb");
    const auto emptyCatalog = test::RunCli({"catalog", (tmp / "empty.edb").string()}, tmp.path());
    EXPECT_EQ(emptyCatalog.exitCode, 0);
    EXPECT_EQ(emptyCatalog.out, "");
    const auto none = test::RunCli({"mailboxes", (tmp / "empty.edb").string()}, tmp.path());
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "No User Found\n");
}

}  // namespace
}  // namespace velmor
