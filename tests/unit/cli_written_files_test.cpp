// The files velmor-cli writes outside a mailbox export: carved messages, one attachment, and
// the streaming entry's directory. None is written through a link or over a file that is
// there, and a write that fails leaves only whole files, each listed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"
#include "edb_writer/one_mailbox_store.h"
#include "export_test_store.h"
#include "file_contents.h"
#include "output_lines.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"

namespace velmor {
namespace {

using test::FileNames;
using test::Lines;
using test::RunCli;

constexpr uint32_t kSeed = 7;
constexpr char kFolder[] = "Recovered from the streaming file\\";
constexpr char kEntryDirectory[] = "Recovered from the streaming file";

std::string FirstField(const std::string& line) {
    return line.substr(0, line.find('\t'));
}

class CliWrittenFilesTest : public testing::Test {
protected:
    CliWrittenFilesTest() : corpus_(stm::MakeCorpus(8, 2000000, kSeed)) {
        stm::WriteCorpusFile(tmp_ / "Store.stm", corpus_, kSeed);
    }

    std::string StreamingFile() const { return (tmp_ / "Store.stm").string(); }

    // A store of one mailbox beside the streaming file.
    std::string Database() const {
        testdb::WriteOneMailboxStore(tmp_ / "Store.edb");
        return (tmp_ / "Store.edb").string();
    }

    test::TempDir tmp_;
    std::vector<stm::CorpusMessage> corpus_;
};

TEST_F(CliWrittenFilesTest, CarveNeverWritesThroughALinkNorOverAFile) {
    const auto out = tmp_ / "out";
    std::filesystem::create_directory(out);
    std::ofstream(tmp_ / "target") << "not yours";
    std::filesystem::create_symlink(tmp_ / "target", out / "00001.eml");
    std::filesystem::create_symlink(tmp_ / "nowhere", out / "00002.eml");
    std::ofstream(out / "00003.eml") << "kept";

    const auto carved = RunCli({"carve", StreamingFile(), out.string()}, tmp_.path());
    ASSERT_EQ(carved.exitCode, 0) << carved.err;
    EXPECT_EQ(test::ReadFile(tmp_ / "target"), "not yours");
    EXPECT_FALSE(std::filesystem::exists(tmp_ / "nowhere"));
    EXPECT_EQ(test::ReadFile(out / "00003.eml"), "kept");
    const auto lines = Lines(carved.out);
    ASSERT_EQ(lines.size(), corpus_.size());
    // The lines name the files as they were written.
    EXPECT_EQ(FirstField(lines[0]), "00001 (2).eml");
    EXPECT_EQ(FirstField(lines[1]), "00002 (2).eml");
    EXPECT_EQ(FirstField(lines[2]), "00003 (2).eml");
    EXPECT_EQ(FirstField(lines[3]), "00004.eml");
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_TRUE(test::ReadFile(out / FirstField(lines[i])) == corpus_[i].bytes) << i;
    }
}

TEST_F(CliWrittenFilesTest, AFailedWriteEndsTheCarvingAndEveryListedFileIsWhole) {
    const auto out = tmp_ / "out";
    // Files of the process may grow to 100 KiB at most (512-byte blocks); a larger write fails
    // as on a full disk.
    const auto carved = RunCli({"carve", StreamingFile(), out.string()}, tmp_.path(),
                               "trap '' XFSZ; ulimit -f 200;");
    EXPECT_EQ(carved.exitCode, 1);
    EXPECT_NE(carved.err.find("carving stopped there"), std::string::npos) << carved.err;
    const auto lines = Lines(carved.out);
    ASSERT_FALSE(lines.empty());
    ASSERT_LT(lines.size(), corpus_.size());
    std::vector<std::string> listed;
    for (size_t i = 0; i < lines.size(); ++i) {
        listed.push_back(FirstField(lines[i]));
        EXPECT_TRUE(test::ReadFile(out / listed.back()) == corpus_[i].bytes) << listed.back();
    }
    // Nothing more lies there: no part of the message that failed, none after it.
    EXPECT_EQ(FileNames(out), listed);
}

TEST_F(CliWrittenFilesTest, AnAttachmentGoesToTheChosenNameOnlyAndALinkThereCountsAsAFile) {
    const std::string database = Database();
    // The fourth message is multipart/mixed with attachments.
    std::filesystem::create_symlink(tmp_ / "nowhere", tmp_ / "out.bin");
    const auto dangling = RunCli(
        {"attachment", database, "2", kFolder, "4", "1", (tmp_ / "out.bin").string()}, tmp_.path());
    EXPECT_EQ(dangling.exitCode, 1);
    EXPECT_NE(dangling.err.find("nothing was written"), std::string::npos) << dangling.err;
    EXPECT_FALSE(std::filesystem::exists(tmp_ / "nowhere"));
    EXPECT_FALSE(std::filesystem::exists(tmp_ / "out (2).bin"));
    EXPECT_TRUE(std::filesystem::is_symlink(tmp_ / "out.bin"));

    const auto written = RunCli(
        {"attachment", database, "2", kFolder, "4", "1", (tmp_ / "new.bin").string()}, tmp_.path());
    ASSERT_EQ(written.exitCode, 0) << written.err;
    EXPECT_TRUE(std::filesystem::is_regular_file(tmp_ / "new.bin"));
}

TEST_F(CliWrittenFilesTest, TheStreamingEntrysDirectoryIsMadeNewAndNeverThroughALink) {
    const std::string database = Database();
    const auto out = tmp_ / "out";
    const auto elsewhere = tmp_ / "elsewhere";
    std::filesystem::create_directories(out);
    std::filesystem::create_directory(elsewhere);
    std::filesystem::create_directory_symlink(elsewhere, out / kEntryDirectory);

    const auto first =
        RunCli({"export", "--format", "eml", database, "2", out.string()}, tmp_.path());
    ASSERT_EQ(first.exitCode, 0) << first.err;
    EXPECT_TRUE(FileNames(elsewhere).empty());
    const auto made = out / (std::string(kEntryDirectory) + " (2)");
    EXPECT_EQ(first.out, std::string(kFolder) + "\t" + kEntryDirectory + " (2)\t" +
                             std::to_string(corpus_.size()) + "\n");
    EXPECT_TRUE(test::ReadFile(made / "00001.eml") == corpus_[0].bytes);

    // A second export gets a directory of its own instead of mixing "00001 (2).eml" in.
    const auto second =
        RunCli({"export", "--format", "eml", database, "2", out.string()}, tmp_.path());
    ASSERT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(FileNames(made).size(), corpus_.size());
    const auto again = out / (std::string(kEntryDirectory) + " (3)");
    EXPECT_EQ(FileNames(again).size(), corpus_.size());
    EXPECT_TRUE(test::ReadFile(again / "00001.eml") == corpus_[0].bytes);
}

}  // namespace
}  // namespace velmor
