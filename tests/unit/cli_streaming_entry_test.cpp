#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "file_contents.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"

namespace velmor {
namespace {

using test::RunCli;

constexpr char kFolder[] = "Recovered from the streaming file\\";
constexpr int kMessages = 4;

// A store of one mailbox and, beside it or elsewhere, a streaming file of a few messages.
class CliStreamingEntryTest : public testing::Test {
protected:
    CliStreamingEntryTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        testdb::StoreBuilder builder;
        testdb::Folder top;
        top.parent = builder.AddMailbox(mailbox);
        top.name = "Top";
        builder.AddFolder(top);
        builder.WriteTo(tmp_ / "Store.edb");

        corpus_ = stm::MakeCorpus(kMessages, 100000, 3);
        streamingFile_ = stm::LayCorpus(corpus_, 3);
    }

    std::string Database() const { return (tmp_ / "Store.edb").string(); }

    void WriteStreamingFile(const std::string& name) const {
        stm::WriteStreamingFile(tmp_ / name, streamingFile_);
    }

    test::TempDir tmp_;
    std::vector<stm::CorpusMessage> corpus_;
    std::vector<uint8_t> streamingFile_;
};

TEST_F(CliStreamingEntryTest, TheStreamingFileBesideTheDatabaseIsListedBrowsedAndExported) {
    WriteStreamingFile("Store.STM");
    const auto mailboxes = RunCli({"mailboxes", Database()}, tmp_.path());
    ASSERT_EQ(mailboxes.exitCode, 0) << mailboxes.err;
    EXPECT_TRUE(mailboxes.out.ends_with("\n2\tRecovered from the streaming file\tstreaming file\n"))
        << mailboxes.out;
    const auto json = RunCli({"mailboxes", "--json", Database()}, tmp_.path());
    EXPECT_NE(json.out.find(", {\"no\": 2, \"name\": \"Recovered from the streaming file\", "
                            "\"key\": \"\", \"kind\": \"streaming file\"}]"),
              std::string::npos)
        << json.out;

    const auto folders = RunCli({"folders", Database(), "2"}, tmp_.path());
    ASSERT_EQ(folders.exitCode, 0) << folders.err;
    EXPECT_EQ(folders.out, std::string(kFolder) + "\t0\t\tIPF.Note\t0\n");

    const auto items = RunCli({"items", Database(), "2", kFolder}, tmp_.path());
    ASSERT_EQ(items.exitCode, 0) << items.err;
    EXPECT_TRUE(items.out.starts_with("No\tFrom\tSubject\tDate/Time\tAttachments\tStatus\n"))
        << items.out;
    EXPECT_NE(items.out.find("\n1\tJürgen Müller <juergen1@example.org>\t"), std::string::npos)
        << items.out;
    EXPECT_EQ(std::count(items.out.begin(), items.out.end(), '\n'), kMessages + 1);

    // The third message is multipart/alternative: its text part is the body.
    const auto message = RunCli({"message", Database(), "2", kFolder, "3"}, tmp_.path());
    ASSERT_EQ(message.exitCode, 0) << message.err;
    EXPECT_TRUE(message.out.starts_with(
        "From: Jürgen Müller <juergen3@example.org>\nTo: Ann Smith <ann@example.net>\nDate: "))
        << message.out;
    EXPECT_EQ(message.out.find("<html>"), std::string::npos);

    const auto exported = RunCli(
        {"export", "--format", "eml,mbox", Database(), "2", (tmp_ / "out").string()}, tmp_.path());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out, std::string(kFolder) + "\tRecovered from the streaming file\t" +
                                std::to_string(kMessages) + "\n");
    const auto directory = tmp_ / "out" / "Recovered from the streaming file";
    std::string mbox;
    for (int i = 0; i < kMessages; ++i) {
        EXPECT_TRUE(test::ReadFile(directory / ("0000" + std::to_string(i + 1) + ".eml")) ==
                    corpus_[i].bytes)
            << i;
    }
    const std::string folderMbox = test::ReadFile(directory / "folder.mbox");
    EXPECT_TRUE(folderMbox.starts_with("From juergen1@example.org Mon Dec  7 08:11:00 2026\n" +
                                       corpus_[0].bytes + "\n"))
        << folderMbox.substr(0, 200);
}

TEST_F(CliStreamingEntryTest, AttachmentsAreListedAndWrittenOneByOne) {
    WriteStreamingFile("Store.stm");
    // The fourth message is multipart/mixed with attachments.
    const auto list = RunCli({"attachments", Database(), "2", kFolder, "4"}, tmp_.path());
    ASSERT_EQ(list.exitCode, 0) << list.err;
    ASSERT_TRUE(list.out.starts_with("1\tattachment-1.bin\tapplication/pdf\t")) << list.out;
    const std::string size =
        list.out.substr(list.out.find("application/pdf\t") + 16,
                        list.out.find('\n') - list.out.find("application/pdf\t") - 16);
    const auto json = RunCli({"attachments", "--json", Database(), "2", kFolder, "4"}, tmp_.path());
    EXPECT_TRUE(
        json.out.starts_with("{\"attachments\": [{\"index\": 1, \"name\": "
                             "\"attachment-1.bin\", \"type\": \"application/pdf\", \"size\": " +
                             size + "}, "))
        << json.out;

    const std::string target = (tmp_ / "saved.bin").string();
    const auto saved =
        RunCli({"attachment", Database(), "2", kFolder, "4", "1", target}, tmp_.path());
    ASSERT_EQ(saved.exitCode, 0) << saved.err;
    EXPECT_EQ(std::to_string(std::filesystem::file_size(target)), size);
    const auto again =
        RunCli({"attachment", Database(), "2", kFolder, "4", "1", target}, tmp_.path());
    EXPECT_EQ(again.exitCode, 1);
    const auto noSuch =
        RunCli({"attachment", Database(), "2", kFolder, "4", "9", (tmp_ / "other.bin").string()},
               tmp_.path());
    EXPECT_EQ(noSuch.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(tmp_ / "other.bin"));
}

TEST_F(CliStreamingEntryTest, StmNamesAStreamingFileAnywhereAndWithoutOneThereIsNoEntry) {
    const auto without = RunCli({"folders", Database(), "2"}, tmp_.path());
    EXPECT_EQ(without.exitCode, 2);
    EXPECT_EQ(RunCli({"mailboxes", Database()}, tmp_.path()).out.find("streaming file"),
              std::string::npos);

    WriteStreamingFile("elsewhere.bin");
    const std::string named = (tmp_ / "elsewhere.bin").string();
    const auto items = RunCli({"items", "--stm", named, Database(), "2", kFolder}, tmp_.path());
    ASSERT_EQ(items.exitCode, 0) << items.err;
    EXPECT_EQ(std::count(items.out.begin(), items.out.end(), '\n'), kMessages + 1);
    const auto wrongPath =
        RunCli({"items", "--stm", named, Database(), "2", "Other\\"}, tmp_.path());
    EXPECT_EQ(wrongPath.exitCode, 2);
    const auto missing = RunCli(
        {"items", "--stm", (tmp_ / "none.stm").string(), Database(), "2", kFolder}, tmp_.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("cannot read the streaming file"), std::string::npos);
}

}  // namespace
}  // namespace velmor
