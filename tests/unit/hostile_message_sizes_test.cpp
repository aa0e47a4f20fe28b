// Carved messages of hostile sizes: tens of thousands of tiny parts, a header line of
// megabytes. Each is read within bounds (parts up to kMaxMessageParts, a header block up to
// 1 MiB), says where it was cut, and is printed shortened.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/plain_text.h"
#include "cli_runner.h"
#include "edb_writer/one_mailbox_store.h"
#include "output_lines.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "streaming/mime_structure.h"
#include "streaming/mime_summary.h"

namespace velmor {
namespace {

using test::Fields;
using test::Lines;
using test::RunCli;

constexpr uint32_t kSeed = 11;
constexpr char kFolder[] = "Recovered from the streaming file\\";
constexpr int64_t kTinyAttachments = 2 * kMaxMessageParts;
constexpr size_t kLongSubjectBytes = 3 * 1024 * 1024;
constexpr char kEllipsis[] = "\u2026";

// Characters of UTF-8 text.
size_t Characters(const std::string& text) {
    size_t count = 0;
    for (char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

stm::CorpusMessage ManyTinyAttachments() {
    std::vector<stm::CorpusAttachment> attachments;
    for (int64_t i = 0; i < kTinyAttachments; ++i) {
        attachments.push_back({"t" + std::to_string(i) + ".txt", "text/plain", "x"});
    }
    return stm::MakeMessageWithAttachments(2, attachments, kSeed);
}

// A subject of kLongSubjectBytes two-byte characters on one header line.
stm::CorpusMessage LongHeaderLine() {
    std::string subject;
    while (subject.size() < kLongSubjectBytes) {
        subject += "\u00e9";
    }
    stm::CorpusMessage message;
    message.subject = subject;
    message.bytes =
        "From: Ann <ann@example.org>\r\nTo: ben@example.org\r\n"
        "Message-ID: <long-line@example.org>\r\nSubject: " +
        subject +
        "\r\nDate: Mon, 7 Dec 2026 08:11:00 +0000\r\n"
        "Content-Type: text/plain; charset=utf-8\r\n\r\nShort body.\r\n";
    return message;
}

class HostileMessageSizesTest : public testing::Test {
protected:
    HostileMessageSizesTest() {
        testdb::WriteOneMailboxStore(tmp_ / "Store.edb");
        corpus_ = {stm::MakeMessage(stm::MessageKind::PlainEightBit, 4000, kSeed, 1),
                   ManyTinyAttachments(), LongHeaderLine(),
                   stm::MakeMessage(stm::MessageKind::MixedAttachments, 20000, kSeed, 4)};
        stm::WriteCorpusFile(tmp_ / "Store.stm", corpus_, kSeed);
    }

    std::string Database() const { return (tmp_ / "Store.edb").string(); }

    test::TempDir tmp_;
    std::vector<stm::CorpusMessage> corpus_;
};

TEST_F(HostileMessageSizesTest, AMessageOfTensOfThousandsOfPartsIsReadUpToTheCapAndSaysSo) {
    const std::string& bytes = corpus_[1].bytes;
    const MimeStructure structure = ScanMimeStructure(bytes);
    ASSERT_TRUE(structure.partsCutAt.has_value());
    EXPECT_TRUE(bytes.substr(*structure.partsCutAt).starts_with("--")) << "at a boundary line";
    // The text part is the first of the parts read; the others are attachments.
    EXPECT_EQ(structure.attachments, kMaxMessageParts - 1);
    const std::optional<MimeParts> parts = ReadMimeParts(bytes);
    ASSERT_TRUE(parts.has_value());
    EXPECT_TRUE(parts->partsCut);
    EXPECT_EQ(static_cast<int64_t>(parts->attachments.size()), kMaxMessageParts - 1);
    EXPECT_EQ(parts->attachments.back().name, "t" + std::to_string(kMaxMessageParts - 2) + ".txt");
    EXPECT_FALSE(ReadMimeParts(corpus_[3].bytes)->partsCut);

    const auto listed = RunCli({"attachments", Database(), "2", kFolder, "2"}, tmp_.path());
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(static_cast<int64_t>(Lines(listed.out).size()), kMaxMessageParts - 1);
    EXPECT_EQ(listed.err, "velmor-cli: " + PartsCutNote() + "\n");
    const auto message = RunCli({"message", Database(), "2", kFolder, "2"}, tmp_.path());
    ASSERT_EQ(message.exitCode, 0) << message.err;
    EXPECT_NE(message.out.find("Note: " + PartsCutNote()), std::string::npos) << message.out;

    // The PST file holds every message, the cut one with the attachments read.
    const auto exported = RunCli(
        {"export", "--format", "pst,eml", Database(), "2", (tmp_ / "out").string()}, tmp_.path());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_TRUE(
        std::filesystem::is_regular_file(tmp_ / "out" / "Recovered from the streaming file.pst"));
    EXPECT_TRUE(
        exported.out.starts_with(std::string(kFolder) + "\tRecovered from the streaming file\t4\n"))
        << exported.out;
}

TEST_F(HostileMessageSizesTest, AHeaderLineOfMegabytesIsReadBoundedAndPrintedShortened) {
    const std::optional<MimeSummary> summary = ReadMimeMessage(corpus_[2].bytes);
    ASSERT_TRUE(summary.has_value());
    EXPECT_EQ(summary->messageId, "long-line@example.org");
    EXPECT_EQ(summary->fromAddress, "ann@example.org");
    EXPECT_TRUE(summary->subject.starts_with("\u00e9\u00e9\u00e9"));
    EXPECT_LE(summary->subject.size(), kMaxHeaderBlockBytes);
    const std::optional<MimeBody> body = ReadMimeBody(corpus_[2].bytes);
    ASSERT_TRUE(body.has_value());
    EXPECT_EQ(body->to, "ben@example.org");

    const auto carved =
        RunCli({"carve", (tmp_ / "Store.stm").string(), (tmp_ / "carved").string()}, tmp_.path());
    ASSERT_EQ(carved.exitCode, 0) << carved.err;
    const auto lines = Lines(carved.out);
    ASSERT_EQ(lines.size(), corpus_.size());
    const auto fields = Fields(lines[2]);
    ASSERT_EQ(fields.size(), 10u);
    EXPECT_EQ(fields[5], "long-line@example.org");
    EXPECT_EQ(Characters(fields[7]), cli::kMaxPlainTextCharacters + 1);
    EXPECT_TRUE(fields[7].ends_with(std::string("\u00e9") + kEllipsis));

    const auto items = RunCli({"items", Database(), "2", kFolder}, tmp_.path());
    ASSERT_EQ(items.exitCode, 0) << items.err;
    const auto rows = Lines(items.out);
    ASSERT_EQ(rows.size(), corpus_.size() + 1);
    EXPECT_EQ(Characters(Fields(rows[3])[2]), cli::kMaxPlainTextCharacters + 1);
}

}  // namespace
}  // namespace velmor
