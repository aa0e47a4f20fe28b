// The carver's start and end rules, one group per way a message used to come back wrong:
// data glued on, its epilogue lost, split at a header block inside it, not carved at all, cut
// without its mark. Each case runs with LF and with CRLF line ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "stm_writer/real_mail.h"
#include "streaming/header_block.h"
#include "streaming/streaming_carve.h"

namespace velmor {
namespace {

constexpr int64_t kPage = 4096;

struct Kept {
    int64_t offset = 0;
    std::string bytes;
    std::string incompleteReason;
};

std::vector<Kept> CarveAll(const std::vector<uint8_t>& file, const CarveLimits& limits = {}) {
    std::vector<Kept> kept;
    MemoryByteSource source(file);
    CarveStreamingFile(source, limits, [&](CarvedMessage&& message, const MimeSummary&) {
        kept.push_back({message.offset, std::string(message.bytes), message.incompleteReason});
    });
    return kept;
}

// A file of pages: text placed at offsets, the rest zeros.
class Pages {
public:
    explicit Pages(int64_t count) : bytes_(static_cast<size_t>(count * kPage), 0) {}
    void Place(int64_t offset, std::string_view text) {
        std::memcpy(bytes_.data() + offset, text.data(), text.size());
    }
    // A page of binary bytes with no zero in it, or of XML.
    void OtherData(int64_t page, bool binary) {
        static constexpr std::string_view kXml = "<?xml version=\"1.0\"?><a><b>1</b></a>\n";
        for (int64_t i = 0; i < kPage; ++i) {
            bytes_[static_cast<size_t>(page * kPage + i)] =
                binary ? static_cast<uint8_t>((i * 37 + 11) % 255 + 1)
                       : static_cast<uint8_t>(kXml[static_cast<size_t>(i) % kXml.size()]);
        }
    }
    const std::vector<uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<uint8_t> bytes_;
};

class CarvingRulesTest : public testing::TestWithParam<bool> {
protected:
    // The message in the line ends of the case.
    std::string Lines(std::string_view lf) const {
        return GetParam() ? stm::WithCrlf(lf) : std::string(lf);
    }
    // before, then a line of lineStart and filler, then after: one page exactly.
    std::string PaddedToPage(const std::string& before, std::string_view lineStart,
                             const std::string& after) const {
        const std::string bare = Lines(std::string(lineStart) + "\n");
        const size_t filler = kPage - before.size() - bare.size() - after.size();
        std::string line = Lines(std::string(lineStart) + std::string(filler, 'f') + "\n");
        return before + line + after;
    }
};

const std::string kSinglePart =
    "From: a@example.org\nTo: b@example.org\nSubject: plain\n\nOne line of text.\n";
const std::string kSecond = "From: c@example.org\nSubject: second\n\nAnother.\n";

TEST_P(CarvingRulesTest, AMessageEndsWhereZeroFillRunsToTheEndOfItsPage) {
    const std::string plain = Lines(kSinglePart);
    // Its boundary parameter matches no line of the body.
    const std::string mismatched = Lines(
        "From: a@example.org\nSubject: mismatched\nContent-Type: multipart/mixed; "
        "boundary=\"nowhere\"\n\n--elsewhere\nContent-Type: text/plain\n\nx\n--elsewhere--\n");
    // RFC 2231 continuations: the boundary is "split-boundary".
    const std::string continued = Lines(
        "From: a@example.org\nSubject: continued\nContent-Type: multipart/mixed;\n"
        " boundary*0=\"split-\"; boundary*1=\"boundary\"\n\n--split-boundary\n"
        "Content-Type: text/plain\n\nx\n--split-boundary--\n");
    Pages pages(8);
    pages.Place(0, plain);
    pages.OtherData(1, true);
    pages.Place(2 * kPage, mismatched);
    pages.OtherData(3, false);
    pages.Place(4 * kPage, continued);
    pages.OtherData(5, false);
    const std::vector<Kept> carved = CarveAll(pages.bytes());
    ASSERT_EQ(carved.size(), 3u);
    EXPECT_EQ(carved[0].bytes, plain);
    EXPECT_EQ(carved[0].incompleteReason, "");
    EXPECT_EQ(carved[1].bytes, mismatched);
    EXPECT_EQ(carved[1].incompleteReason, kReasonMultipartNotClosed);
    EXPECT_EQ(carved[2].bytes, continued);
    EXPECT_EQ(carved[2].incompleteReason, "");
}

TEST_P(CarvingRulesTest, TheEpilogueAfterTheClosingLineIsKept) {
    const std::string footer = Lines(
        "From: list@example.org\nSubject: signed\nContent-Type: multipart/signed; boundary=s\n\n"
        "--s\nContent-Type: text/plain\n\nbody\n--s--x is no closing line\n--s\n"
        "Content-Type: application/pgp-signature\n\nsig\n--s--  \n"
        "_______________\nList footer: https://lists.example.org/\n");
    // An epilogue that runs past its page and ends on the next one.
    std::string longEpilogue =
        "From: d@example.org\nSubject: digest\nContent-Type: multipart/digest; boundary=d\n\n"
        "--d\n\nFrom: e@example.org\nSubject: inner\n\ntext\n--d--\n";
    while (longEpilogue.size() < kPage + 200) {
        longEpilogue += "End of Digest, a line of the epilogue.\n";
    }
    longEpilogue = Lines(longEpilogue);
    Pages pages(8);
    pages.Place(0, footer);
    pages.OtherData(1, false);
    pages.Place(2 * kPage, longEpilogue);
    pages.OtherData(4, true);
    const std::vector<Kept> carved = CarveAll(pages.bytes());
    ASSERT_EQ(carved.size(), 2u);
    EXPECT_EQ(carved[0].bytes, footer);
    EXPECT_EQ(carved[0].incompleteReason, "");
    EXPECT_EQ(carved[1].bytes, longEpilogue);
    EXPECT_EQ(carved[1].incompleteReason, "");
}

TEST_P(CarvingRulesTest, AHeaderBlockInsideTheOpenMessageStartsNoMessage) {
    // An attached message whose Subject line starts the second page.
    const std::string head = Lines(
        "From: a@example.org\nTo: b@example.org\nSubject: outer\n"
        "Content-Type: multipart/mixed; boundary=o\n");
    const std::string parts = Lines("\n--o\nContent-Type: message/rfc822\n\nFrom: c@example.org\n");
    const std::string attached =
        PaddedToPage(head, "X-Filler: ", parts) +
        Lines("Subject: inner\nDate: Mon, 7 Dec 2026 09:00:00 +0000\n\ninner body\n--o--\n");
    // A page that starts inside a field name of the top header block.
    const std::string cutName =
        PaddedToPage(Lines("From: f@example.org\n"), "X-Pad: ", Lines("Su")) +
        Lines("bject: cut name\nDate: Mon, 7 Dec 2026\nTo: g@example.org\n\nbody\n");
    // Header lines quoted in a body after an empty line, crossing the page boundary.
    const std::string quoted = PaddedToPage(Lines("From: h@example.org\nSubject: quoting\n\n"),
                                            "> ", Lines("\nFrom: i@example.org\n")) +
                               Lines("Subject: quoted\nTo: j@example.org\n\nreply text\n");
    Pages pages(12);
    pages.Place(0, attached);
    pages.Place(3 * kPage, cutName);
    pages.Place(6 * kPage, quoted);
    const std::vector<Kept> carved = CarveAll(pages.bytes());
    ASSERT_EQ(carved.size(), 3u);
    EXPECT_EQ(carved[0].bytes, attached);
    EXPECT_EQ(carved[0].incompleteReason, "");
    EXPECT_EQ(carved[1].bytes, cutName);
    EXPECT_EQ(carved[2].bytes, quoted);
}

TEST_P(CarvingRulesTest, AStartTakenInsideAnOpenMultipartMarksItCut) {
    // The multipart's run ends at the page boundary with no closing boundary ahead.
    std::string open = Lines(
        "From: a@example.org\nSubject: open\nContent-Type: multipart/mixed; "
        "boundary=m\n\n--m\nContent-Type: text/plain\n\n");
    while (open.size() < static_cast<size_t>(kPage)) {
        open += Lines("line of a part that goes on\n");
    }
    open.resize(kPage);
    const std::string next = Lines(kSecond);
    Pages pages(4);
    pages.Place(0, open);
    pages.Place(kPage, next);
    const std::vector<Kept> carved = CarveAll(pages.bytes());
    ASSERT_EQ(carved.size(), 2u);
    EXPECT_EQ(carved[0].bytes, open);
    EXPECT_EQ(carved[0].incompleteReason, kReasonMultipartNotClosed);
    EXPECT_EQ(carved[1].bytes, next);
}

TEST_P(CarvingRulesTest, HeaderBlocksWithoutTheirEmptyLineOrBodyAreCarved) {
    const std::string noEmptyLine =
        Lines("From: a@example.org\nTo: b@example.org\nSubject: x\nthe body starts here\n");
    const std::string blankWithSpace =
        Lines("From: a@example.org\nSubject: space\n \nthe body after a blank holding a space\n");
    const std::string onlyHeaders = Lines("From: a@example.org\nTo: b@example.org\nSubject: y\n");
    const std::string mbox =
        Lines("From a@example.org Mon Dec  7 09:00:00 2026\n") + Lines(kSinglePart);
    // A mail program's annotations before the mailbox's "From " line, escaped or not.
    const std::string annotated = Lines(
        "Replied: Mon, 26 Aug 2002 16:43:19 +0100\nFrom a@example.org Mon Aug 26 15:41:16 2002\n"
        "From: a@example.org\nSubject: z\n\ntext\n");
    const std::string annotatedEscaped = Lines(
        "Forwarded: c@example.org\n>From a@example.org Mon Aug 26 15:41:16 2002\n"
        "From: a@example.org\nSubject: z\n\ntext\n");
    Pages pages(8);
    pages.Place(0, noEmptyLine);
    pages.Place(kPage, blankWithSpace);
    pages.Place(2 * kPage, onlyHeaders);
    pages.OtherData(3, false);
    pages.Place(4 * kPage, mbox);
    pages.Place(5 * kPage, annotated);
    pages.Place(6 * kPage, annotatedEscaped);
    const std::vector<Kept> carved = CarveAll(pages.bytes());
    ASSERT_EQ(carved.size(), 6u);
    EXPECT_EQ(carved[0].bytes, noEmptyLine);
    EXPECT_EQ(carved[1].bytes, blankWithSpace);
    EXPECT_EQ(carved[2].bytes, onlyHeaders);
    EXPECT_EQ(carved[3].bytes, mbox);
    EXPECT_EQ(carved[4].bytes, annotated);
    EXPECT_EQ(carved[5].bytes, annotatedEscaped);
    for (const Kept& kept : carved) {
        EXPECT_EQ(kept.incompleteReason, "");
    }
}

TEST_P(CarvingRulesTest, RawImagesSplitAtMboxSeparatorsAndSectorBoundaries) {
    // A mailbox file: messages one after the other, each after its "From " line.
    const std::string first =
        Lines("From a@example.org Mon Dec  7 09:00:00 2026\n") + Lines(kSinglePart) + Lines("\n");
    const std::string second =
        Lines("From c@example.org Mon Dec  7 09:05:00 2026\n") + Lines(kSecond) + Lines("\n");
    Pages mailbox(2);
    mailbox.Place(0, first + second);
    const std::vector<Kept> split = CarveAll(mailbox.bytes());
    ASSERT_EQ(split.size(), 2u);
    EXPECT_EQ(split[0].bytes, first);
    EXPECT_EQ(split[1].offset, static_cast<int64_t>(first.size()));
    EXPECT_EQ(split[1].bytes, second);

    // A closed multipart whose epilogue runs over a whole page into the next entry's page.
    std::string closed =
        "From d@example.org Mon Dec  7 09:10:00 2026\nFrom: d@example.org\nSubject: digest\n"
        "Content-Type: multipart/digest; boundary=d\n\n--d\n\nFrom: e@example.org\n"
        "Subject: inner\n\ntext\n--d--\n";
    while (closed.size() < 2 * kPage + 100) {
        closed += "End of Digest, a line of the epilogue.\n";
    }
    closed = Lines(closed);
    // Entries after it fill the next page: no zero fill on it.
    std::string entries = closed;
    size_t following = 0;
    for (; entries.size() < 3 * kPage + 100; ++following) {
        entries += second;
    }
    Pages longer(5);
    longer.Place(0, entries);
    const std::vector<Kept> epilogueSplit = CarveAll(longer.bytes());
    ASSERT_EQ(epilogueSplit.size(), 1 + following);
    EXPECT_EQ(epilogueSplit[0].bytes, closed);
    EXPECT_EQ(epilogueSplit[1].bytes, second);
    EXPECT_EQ(epilogueSplit.back().bytes, second);

    // A disk image: a message on a 512-byte sector right after other data.
    constexpr int64_t kSector = 512;
    const std::string onSector = Lines(kSecond);
    Pages image(2);
    image.OtherData(0, true);
    image.Place(kPage + kSector, onSector);
    std::vector<uint8_t> bytes = image.bytes();
    std::fill(bytes.begin() + kPage, bytes.begin() + kPage + kSector, uint8_t{'x'});
    EXPECT_TRUE(CarveAll(bytes).empty());
    CarveLimits sectors;
    sectors.alignment = kSector;
    const std::vector<Kept> aligned = CarveAll(bytes, sectors);
    ASSERT_EQ(aligned.size(), 1u);
    EXPECT_EQ(aligned[0].offset, kPage + kSector);
    EXPECT_EQ(aligned[0].bytes, onSector);
}

INSTANTIATE_TEST_SUITE_P(LineEnds, CarvingRulesTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Crlf" : "Lf";
                         });

}  // namespace
}  // namespace velmor
