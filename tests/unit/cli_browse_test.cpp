#include <gtest/gtest.h>

#include <string>

#include "cli_runner.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "local_time_zone.h"

namespace velmor {
namespace {

using test::RunCli;
using testdb::EntryId;

class CliBrowseTest : public testing::Test {
protected:
    CliBrowseTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        top_ = AddFolder(builder_.AddMailbox(mailbox), "Top", "");
        inbox_ = AddFolder(top_, "Inbox", "IPF.Note");
        tasks_ = AddFolder(top_, "Tasks \"and\" more", "IPF.Task");
        testdb::Item mail;
        mail.subject = "Budget";
        mail.sender = "Carol Hughes";
        mail.time = testdb::FileTimeFromUtc(2007, 4, 10, 13, 39, 7);
        builder_.AddItem(inbox_, mail);
    }
    EntryId AddFolder(const EntryId& parent, const char* name, const char* containerClass) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = name;
        folder.containerClass = containerClass;
        return builder_.AddFolder(folder);
    }
    std::string Store() {
        builder_.WriteTo(tmp_ / "store.edb");
        return (tmp_ / "store.edb").string();
    }

    test::TempDir tmp_;
    testdb::StoreBuilder builder_;
    EntryId top_{}, inbox_{}, tasks_{};
};

TEST_F(CliBrowseTest, FoldersAndItemsPrintTheTreeAndTheListInLocalTime) {
    const test::ScopedTimeZone tokyo("JST-9");
    const std::string file = Store();
    const std::string inbox = testdb::HexText(inbox_);
    const std::string tasks = testdb::HexText(tasks_);

    const auto folders = RunCli({"folders", "--json", file, "1"}, tmp_.path());
    EXPECT_EQ(folders.exitCode, 0) << folders.err;
    EXPECT_EQ(folders.out,
              "{\"root\": \"Mailbox - Ann Walker\", \"folders\": ["
              "{\"path\": \"Mailbox - Ann Walker\\\\Top\\\\\", \"image\": 0, \"folderId\": \"\", "
              "\"containerClass\": \"\", \"tableObjectId\": 0}, "
              "{\"path\": \"Mailbox - Ann Walker\\\\Top\\\\Inbox\\\\\", \"image\": 9, "
              "\"folderId\": \"" +
                  inbox +
                  "\", \"containerClass\": \"IPF.Note\", "
                  "\"tableObjectId\": 101}, "
                  "{\"path\": \"Mailbox - Ann Walker\\\\Top\\\\Tasks \\\"and\\\" more\\\\\", "
                  "\"image\": 3, \"folderId\": \"" +
                  tasks +
                  "\", \"containerClass\": \"IPF.Task\", "
                  "\"tableObjectId\": 102}]}\n");
    const auto plain = RunCli({"folders", file, "1"}, tmp_.path());
    EXPECT_EQ(plain.out,
              "Mailbox - Ann Walker\\Top\\\t0\t\t\t0\n"
              "Mailbox - Ann Walker\\Top\\Inbox\\\t9\t" +
                  inbox +
                  "\tIPF.Note\t101\n"
                  "Mailbox - Ann Walker\\Top\\Tasks \"and\" more\\\t3\t" +
                  tasks + "\tIPF.Task\t102\n");

    const std::string inboxPath = "Mailbox - Ann Walker\\Top\\Inbox\\";
    const auto items = RunCli({"items", "--json", file, "1", inboxPath}, tmp_.path());
    EXPECT_EQ(items.exitCode, 0) << items.err;
    EXPECT_EQ(items.out,
              "{\"kind\": 1, \"columns\": [\"No\", \"From\", \"Subject\", \"Date/Time\"], "
              "\"rows\": [{\"image\": 0, \"cells\": [\"1\", \"Carol Hughes\", \"Budget\", "
              "\"Tue 10/4/2007 10:39:07 PM\"]}]}\n");
    const auto listed = RunCli({"items", file, "1", inboxPath}, tmp_.path());
    EXPECT_EQ(listed.out,
              "No\tFrom\tSubject\tDate/Time\n1\tCarol Hughes\tBudget\tTue 10/4/2007 10:39:07 PM\n");
    const auto root = RunCli({"items", "--json", file, "1", "Mailbox - Ann Walker\\"}, tmp_.path());
    EXPECT_EQ(root.out,
              "{\"kind\": 0, \"columns\": [\"No\", \"From\", \"Subject\", "
              "\"Date/Time\"], \"rows\": []}\n");
}

// Names from damaged pages may hold tabs and line breaks: plain output prints each control
// character as a blank, JSON keeps the text, and a printed path still finds its folder.
TEST(CliPlainOutputTest, ControlCharactersInNamesKeepEveryRecordOnOneLine) {
    const test::ScopedTimeZone utc("UTC0");
    test::TempDir tmp;
    testdb::StoreBuilder builder;
    testdb::Mailbox mailbox;
    mailbox.name = "Ann\tWalker\nJr";
    const EntryId key = builder.AddMailbox(mailbox);
    testdb::Folder top;
    top.parent = key;
    top.name = "Top";
    testdb::Folder folder;
    folder.parent = builder.AddFolder(top);
    folder.name = "In\tbox\nNew\x7F";
    folder.containerClass = "IPF.Note";
    const EntryId inbox = builder.AddFolder(folder);
    testdb::Item mail;
    mail.subject =
        "Two\tcolumns\r\nand a line";  // the listing shows a tab as a blank, JSON keeps it
    mail.sender = "Carol\x01Hughes";
    mail.time = testdb::FileTimeFromUtc(2007, 4, 10, 13, 39, 7);
    builder.AddItem(inbox, mail);
    const std::string file = (tmp / "store.edb").string();
    builder.WriteTo(file);

    const auto mailboxes = RunCli({"mailboxes", file}, tmp.path());
    EXPECT_EQ(mailboxes.out, "1\tMailbox - Ann Walker Jr\t" + testdb::HexText(key) + "\n");
    const auto folders = RunCli({"folders", file, "1"}, tmp.path());
    const std::string printedPath = "Mailbox - Ann Walker Jr\\Top\\In box New \\";
    EXPECT_EQ(folders.out, "Mailbox - Ann Walker Jr\\Top\\\t0\t\t\t0\n" + printedPath + "\t0\t" +
                               testdb::HexText(inbox) + "\tIPF.Note\t101\n");
    const std::string exactPath = "Mailbox - Ann\tWalker\nJr\\Top\\In\tbox\nNew\x7F\\";
    const auto folderJson = RunCli({"folders", "--json", file, "1"}, tmp.path());
    EXPECT_NE(
        folderJson.out.find("\"Mailbox - Ann\\tWalker\\nJr\\\\Top\\\\In\\tbox\\nNew\x7F\\\\\""),
        std::string::npos)
        << folderJson.out;

    const std::string row = "1\tCarol Hughes\tTwo columns  and a line\tTue 10/4/2007 01:39:07 PM\n";
    for (const std::string& path : {printedPath, exactPath}) {
        const auto items = RunCli({"items", file, "1", path}, tmp.path());
        EXPECT_EQ(items.exitCode, 0) << items.err;
        EXPECT_EQ(items.out, "No\tFrom\tSubject\tDate/Time\n" + row);
    }
    const auto itemJson = RunCli({"items", "--json", file, "1", printedPath}, tmp.path());
    EXPECT_NE(itemJson.out.find("\"Carol\\u0001Hughes\", \"Two\\tcolumns\\r\\nand a line\""),
              std::string::npos)
        << itemJson.out;
}

TEST_F(CliBrowseTest, UnknownMailboxRowsAndPathsAreUsageErrors) {
    const std::string file = Store();
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"folders", file, "2"},
          {"folders", file, "0"},
          {"folders", file, "first"},
          {"items", file, "1", "Mailbox - Ann Walker\\Top\\Outbox\\"},
          {"items", file, "1", "Mailbox - Ann Walker\\Top\\Inbox"},
          {"items", file, "1"}}) {
        const auto result = RunCli(arguments, tmp_.path());
        EXPECT_EQ(result.exitCode, 2) << arguments.back();
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
}

TEST_F(CliBrowseTest, AStoreWithoutMailboxesFindsNoUser) {
    testdb::StoreBuilder empty;
    empty.WriteTo(tmp_ / "empty.edb");
    for (const char* command : {"folders", "items"}) {
        std::vector<std::string> arguments = {command, (tmp_ / "empty.edb").string(), "1"};
        if (std::string(command) == "items") {
            arguments.push_back("Mailbox\\");
        }
        const auto result = RunCli(arguments, tmp_.path());
        EXPECT_EQ(result.exitCode, 1) << command;
        EXPECT_EQ(result.err, "No User Found\n");
        EXPECT_TRUE(result.out.empty());
    }
}

}  // namespace
}  // namespace velmor
