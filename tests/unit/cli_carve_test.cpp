#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "file_contents.h"
#include "output_lines.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"

namespace velmor {
namespace {

using test::Fields;
using test::Lines;

constexpr uint32_t kSeed = 7;

TEST(CliCarveTest, EveryCarvedMessageIsWrittenAsAFileWithOneLineEach) {
    const auto corpus = stm::MakeCorpus(8, 2000000, kSeed);
    // The fourth message (attachments, over two runs) loses its second run.
    const int moved = 3;
    ASSERT_TRUE(corpus[moved].multipart);
    std::vector<stm::LaidMessage> laid;
    const std::vector<uint8_t> file = stm::LayCorpus(corpus, kSeed, moved, &laid);
    ASSERT_TRUE(laid[moved].runMoved);
    const test::TempDir tmp;
    ASSERT_TRUE(stm::WriteStreamingFile(tmp / "Store.STM", file));

    const auto plain =
        test::RunCli({"carve", (tmp / "Store.STM").string(), (tmp / "out").string()}, tmp.path());
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_EQ(plain.err, "velmor-cli: 8 messages carved, 1 incomplete\n");
    const auto lines = Lines(plain.out);
    ASSERT_EQ(lines.size(), corpus.size());
    for (size_t i = 0; i < corpus.size(); ++i) {
        SCOPED_TRACE(i);
        const auto fields = Fields(lines[i]);
        ASSERT_EQ(fields.size(), 10u) << lines[i];
        const std::string name = fields[0];
        EXPECT_EQ(name, (i < 9 ? "0000" : "000") + std::to_string(i + 1) + ".eml");
        EXPECT_EQ(fields[1], std::to_string(laid[i].offset));
        const std::string carved = test::ReadFile(tmp / "out" / name);
        EXPECT_EQ(fields[2], std::to_string(carved.size()));
        EXPECT_EQ(fields[5], "carve-" + std::to_string(i + 1) + "@example.org");
        EXPECT_EQ(fields[6], "Jürgen Müller <juergen" + std::to_string(i + 1) + "@example.org>");
        if (static_cast<int>(i) == moved) {
            EXPECT_EQ(fields[4], "multipart not closed");
            EXPECT_TRUE(carved == corpus[i].bytes.substr(0, laid[i].keptLength));
        } else {
            EXPECT_EQ(fields[4], "complete");
            EXPECT_TRUE(carved == corpus[i].bytes);
        }
    }

    const auto json = test::RunCli(
        {"carve", "--json", (tmp / "Store.STM").string(), (tmp / "json").string()}, tmp.path());
    ASSERT_EQ(json.exitCode, 0) << json.err;
    const auto objects = Lines(json.out);
    ASSERT_EQ(objects.size(), corpus.size());
    EXPECT_TRUE(objects[moved].starts_with("{\"file\": \"00004.eml\", \"start\": " +
                                           std::to_string(laid[moved].offset)))
        << objects[moved];
    EXPECT_NE(objects[moved].find("\"complete\": false, \"incompleteReason\": \"multipart not "
                                  "closed\""),
              std::string::npos);
    EXPECT_NE(objects[moved].find("\"attachments\": "), std::string::npos);
}

TEST(CliCarveTest, AFileThatCannotBeReadEndsWithStatusOne) {
    const test::TempDir tmp;
    const auto result =
        test::RunCli({"carve", (tmp / "missing.stm").string(), (tmp / "out").string()}, tmp.path());
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "velmor-cli: cannot open " + (tmp / "missing.stm").string() + "\n");
}

TEST(CliCarveTest, AlignFiveHundredTwelveFindsMessagesOnTheSectorsOfADiskImage) {
    const std::string message = "From: a@example.org\r\nSubject: on a sector\r\n\r\nText.\r\n";
    // Other data up to the sector, no zero fill before the message.
    std::vector<uint8_t> image(4 * 4096, 0);
    std::fill(image.begin(), image.begin() + 512, uint8_t{'x'});
    std::copy(message.begin(), message.end(), image.begin() + 512);
    const test::TempDir tmp;
    ASSERT_TRUE(stm::WriteStreamingFile(tmp / "disk.img", image));

    const auto pages =
        test::RunCli({"carve", (tmp / "disk.img").string(), (tmp / "pages").string()}, tmp.path());
    ASSERT_EQ(pages.exitCode, 0) << pages.err;
    EXPECT_EQ(pages.out, "");
    const auto sectors = test::RunCli(
        {"carve", "--align", "512", (tmp / "disk.img").string(), (tmp / "sectors").string()},
        tmp.path());
    ASSERT_EQ(sectors.exitCode, 0) << sectors.err;
    EXPECT_EQ(test::ReadFile(tmp / "sectors" / "00001.eml"), message);
    EXPECT_EQ(test::RunCli({"carve", "--align", "1000", (tmp / "disk.img").string(),
                            (tmp / "other").string()},
                           tmp.path())
                  .exitCode,
              2);
}

}  // namespace
}  // namespace velmor
