#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "cli/export_report.h"
#include "cli_runner.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "python_reader.h"

namespace velmor {
namespace {

using test::RunCli;
using testdb::EntryId;

constexpr char kInbox[] = "Mailbox - Ann Walker\\Top\\Inbox\\";
constexpr char kTasks[] = "Mailbox - Ann Walker\\Top\\Tasks\\";

class CliExportTest : public testing::Test {
protected:
    CliExportTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        top_ = AddFolder(builder_.AddMailbox(mailbox), "Top", "");
        const EntryId inbox = AddFolder(top_, "Inbox", "IPF.Note");
        const EntryId tasks = AddFolder(top_, "Tasks", "IPF.Task");
        for (const char* subject : {"Budget", "Travel"}) {
            testdb::Item mail;
            mail.subject = subject;
            mail.sender = "Carol Hughes";
            mail.time = testdb::FileTimeFromUtc(2007, 4, 10, 13, 39, 7);
            builder_.AddItem(inbox, mail);
        }
        testdb::Item task;
        task.kind = testdb::ItemKind::Task;
        task.subject = "Send the report";
        builder_.AddItem(tasks, task);
        builder_.WriteTo(tmp_ / "store.edb");
    }
    EntryId AddFolder(const EntryId& parent, const char* name, const char* containerClass) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = name;
        folder.containerClass = containerClass;
        return builder_.AddFolder(folder);
    }
    std::string Store() const { return (tmp_ / "store.edb").string(); }
    std::string Out() const { return (tmp_ / "out").string(); }

    test::TempDir tmp_;
    testdb::StoreBuilder builder_;
    EntryId top_{};
};

TEST_F(CliExportTest, EveryFolderIsWrittenAndListedPlainAndAsJson) {
    const auto plain =
        RunCli({"export", "--format", "eml,mbox,ics,csv", Store(), "1", Out()}, tmp_.path());
    EXPECT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.out, "Mailbox - Ann Walker\\Top\\\tTop\t0\n" + std::string(kInbox) +
                             "\tTop/Inbox\t2\n" + kTasks + "\tTop/Tasks\t1\n");
    EXPECT_TRUE(std::filesystem::exists(tmp_ / "out" / "Top" / "Inbox" / "folder.mbox"));
    EXPECT_TRUE(std::filesystem::exists(tmp_ / "out" / "Top" / "Tasks" / "items.ics"));

    // A second export of one folder never touches the first one's files.
    const auto json = RunCli({"export", "--json", Store(), "1", Out(), kInbox}, tmp_.path());
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_EQ(json.out,
              "{\"outdir\": \"" + Out() +
                  "\", \"folders\": [{\"path\": \"Mailbox - Ann Walker\\\\Top\\\\Inbox\\\\\""
                  ", \"dir\": \"Top (2)/Inbox\", \"kind\": 1, \"items\": 2, \"files\": "
                  "[\"Top (2)/Inbox/00001.eml\", \"Top (2)/Inbox/00002.eml\", "
                  "\"Top (2)/Inbox/items.csv\"]}], \"items\": 2}\n");
    constexpr char kJsonReader[] = R"(
import sys, json
document = json.loads(sys.stdin.read())
print(document['items'], [f['dir'] for f in document['folders']])
)";
    const std::string script = std::string(kJsonReader);
    std::ofstream(tmp_ / "json.txt") << json.out;
    EXPECT_EQ(test::RunPython(tmp_.path(), "import sys\nsys.stdin = open(sys.argv[1])\n" + script,
                              {(tmp_ / "json.txt").string()}),
              "2 ['Top (2)/Inbox']\n");
}

TEST_F(CliExportTest, UsageErrorsUnwritableTargetsAndStoresWithoutMailboxes) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"export", Store(), "1"},
          {"export", "--format", "eml,pdf", Store(), "1", Out()},
          {"export", "--format", "", Store(), "1", Out()},
          {"export", Store(), "1", Out(), "Mailbox - Ann Walker\\Top\\Outbox\\"},
          {"export", Store(), "1", Out(), "--format"},
          {"items", "--format", "csv", Store(), "1", kInbox}}) {
        const auto result = RunCli(arguments, tmp_.path());
        EXPECT_EQ(result.exitCode, 2) << arguments.back();
        EXPECT_TRUE(result.out.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
    EXPECT_FALSE(std::filesystem::exists(Out())) << "nothing is written after a usage error";

    std::ofstream(tmp_ / "file") << "x";
    const auto onFile =
        RunCli({"export", Store(), "1", (tmp_ / "file" / "out").string()}, tmp_.path());
    EXPECT_EQ(onFile.exitCode, 1);
    EXPECT_NE(onFile.err.find("cannot create the directory"), std::string::npos) << onFile.err;
    const auto onDatabase = RunCli({"export", Store(), "1", Store()}, tmp_.path());
    EXPECT_EQ(onDatabase.exitCode, 1);
    EXPECT_NE(onDatabase.err.find("is the open database"), std::string::npos) << onDatabase.err;

    testdb::StoreBuilder empty;
    empty.WriteTo(tmp_ / "empty.edb");
    const auto none = RunCli({"export", (tmp_ / "empty.edb").string(), "1", Out()}, tmp_.path());
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.err, "No User Found\n");
}

// Folder names from damaged pages reach neither the terminal nor the file system raw: the
// directory gets a safe name, which the JSON gives, and a failed folder's path is printed
// plainly.
TEST_F(CliExportTest, FolderNamesAreSafeOnDiskAndPlainInMessages) {
    AddFolder(top_, "Re: Budget?", "IPF.Note");
    AddFolder(top_, "Bad\tname\n\x1b[31mred", "IPF.Note");
    builder_.WriteTo(tmp_ / "store.edb");
    const auto json = RunCli(
        {"export", "--json", Store(), "1", Out(), "Mailbox - Ann Walker\\Top\\Re: Budget?\\"},
        tmp_.path());
    EXPECT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"dir\": \"Top/Re_ Budget_\""), std::string::npos) << json.out;
    EXPECT_TRUE(std::filesystem::is_directory(tmp_ / "out" / "Top" / "Re_ Budget_"));

    if (::geteuid() != 0) {
        GTEST_SKIP() << "a directory that refuses new entries needs root here";
    }
    // The system's own directories take no new entries, even from root: every folder fails.
    const auto failed = RunCli({"export", Store(), "1", "/sys/kernel"}, tmp_.path());
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("Top\\Bad name  [31mred\\: cannot create"), std::string::npos)
        << failed.err;
    for (const char c : failed.err) {
        EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
    }
}

// A stopped folder is listed with the files it completed, and counted.
TEST(ExportReportTest, AStoppedOrFailedFolderIsListedWithTheFilesItCompleted) {
    FolderExportResult stopped;
    stopped.path = u"Mailbox - Ann Walker\\Top\\Inbox\\";
    stopped.directory = "/out/Top/Inbox";
    stopped.folderKind = 1;
    stopped.items = 2;
    stopped.files = {"00001.eml", "00002.eml"};
    stopped.stopped = true;
    FolderExportResult failedEarly;
    failedEarly.path = u"Mailbox - Ann Walker\\Top\\Tasks\\";
    failedEarly.error = "cannot create /out/Top/Tasks: No space left on device";
    cli::ExportReport json("/out", true);
    json.Add(stopped);
    json.Add(failedEarly);
    EXPECT_EQ(json.Text(),
              "{\"outdir\": \"/out\", \"folders\": [{\"path\": \"Mailbox - Ann "
              "Walker\\\\Top\\\\Inbox\\\\\", \"dir\": \"Top/Inbox\", \"kind\": 1, \"items\": 2, "
              "\"files\": [\"Top/Inbox/00001.eml\", \"Top/Inbox/00002.eml\"]}], \"items\": 2}\n");
    cli::ExportReport plain("/out", false);
    plain.Add(stopped);
    plain.Add(failedEarly);
    EXPECT_EQ(plain.Text(), "Mailbox - Ann Walker\\Top\\Inbox\\\tTop/Inbox\t2\n");
}

}  // namespace
}  // namespace velmor
