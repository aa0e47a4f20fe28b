#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "streaming/header_block.h"
#include "streaming/recovered_messages.h"
#include "streaming/streaming_carve.h"
#include "temp_dir.h"

namespace velmor {
namespace {

// A carved message as kept past the call that hands it over.
struct KeptMessage {
    int64_t offset = 0;
    std::string bytes;
    int64_t pages = 0;
    std::string incompleteReason;
};

struct Carved {
    KeptMessage message;
    MimeSummary summary;
};

struct CarveResult {
    std::vector<Carved> messages;
    StreamingCarveCounts counts;
};

CarveResult Carve(ByteSource& source, const CarveLimits& limits = {}) {
    CarveResult result;
    result.counts = CarveStreamingFile(
        source, limits, [&](CarvedMessage&& message, const MimeSummary& summary) {
            result.messages.push_back({{message.offset, std::string(message.bytes), message.pages,
                                        message.incompleteReason},
                                       summary});
        });
    return result;
}

CarveResult Carve(const std::vector<uint8_t>& bytes, const CarveLimits& limits = {}) {
    MemoryByteSource source(bytes);
    return Carve(source, limits);
}

struct LaidCorpus {
    std::vector<stm::CorpusMessage> corpus;
    std::vector<stm::LaidMessage> laid;
    std::vector<uint8_t> file;
};

constexpr int kCorpusMessages = 24;
constexpr int64_t kLargestMessage = 3 << 20;
constexpr uint32_t kSeed = 24;

LaidCorpus LayCorpus(int movedMessage) {
    LaidCorpus result;
    result.corpus = stm::MakeCorpus(kCorpusMessages, kLargestMessage, kSeed);
    result.file = stm::LayCorpus(result.corpus, kSeed, movedMessage, &result.laid);
    return result;
}

std::vector<uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

TEST(StreamingCarverTest, EveryMessageOfALaidOutFileComesBackByteForByte) {
    const LaidCorpus laid = LayCorpus(-1);
    const CarveResult result = Carve(laid.file);
    ASSERT_EQ(result.messages.size(), laid.corpus.size());
    EXPECT_EQ(result.counts.incomplete, 0);
    EXPECT_EQ(result.counts.notMessages, 0);
    for (size_t i = 0; i < laid.corpus.size(); ++i) {
        const Carved& carved = result.messages[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(carved.message.offset, laid.laid[i].offset);
        EXPECT_TRUE(carved.message.bytes == laid.corpus[i].bytes);
        EXPECT_EQ(carved.message.incompleteReason, "");
        EXPECT_EQ(carved.message.pages,
                  (laid.laid[i].length + stm::kStreamingPageSize - 1) / stm::kStreamingPageSize);
        EXPECT_EQ(carved.summary.messageId, "carve-" + std::to_string(i + 1) + "@example.org");
        EXPECT_NE(carved.summary.from.find("Jürgen Müller"), std::string::npos);
        EXPECT_FALSE(carved.summary.subject.empty());
        EXPECT_TRUE(carved.summary.date.starts_with("2026-12-07T")) << carved.summary.date;
    }
}

TEST(StreamingCarverTest, AttachmentsAreListedWithNameTypeAndSize) {
    const auto mixed = stm::MakeMessage(stm::MessageKind::MixedAttachments, 40000, kSeed, 3);
    const auto parts = ReadMimeParts(mixed.bytes);
    ASSERT_TRUE(parts);
    ASSERT_GE(parts->attachments.size(), 2u);
    EXPECT_EQ(parts->attachments[0].name, "attachment-1.bin");
    EXPECT_EQ(parts->attachments[0].type, "application/pdf");
    EXPECT_GT(parts->attachments[0].size, 0);
    const auto content = AttachmentContent(mixed.bytes, 0);
    ASSERT_TRUE(content);
    EXPECT_EQ(static_cast<int64_t>(content->size()), parts->attachments[0].size);

    const auto nested = stm::MakeMessage(stm::MessageKind::NestedMessage, 20000, kSeed, 4);
    const auto nestedParts = ReadMimeParts(nested.bytes);
    ASSERT_TRUE(nestedParts);
    // The attached message is one attachment; its own stays inside it.
    ASSERT_EQ(nestedParts->attachments.size(), 1u);
    EXPECT_EQ(nestedParts->attachments[0].type, "message/rfc822");
    EXPECT_FALSE(AttachmentContent(nested.bytes, 1));
}

// The pass reads only the header block with the MIME library and walks the part tree itself:
// what it finds must equal a full reading, on whole, cut and odd messages alike.
TEST(StreamingCarverTest, ThePassFindsWhatAFullReadingFinds) {
    std::vector<std::string> messages;
    for (const stm::CorpusMessage& message : stm::MakeCorpus(18, 200000, kSeed)) {
        messages.push_back(message.bytes);
        // Cut anywhere: in a base64 part, a boundary line or a header block.
        for (const size_t cutAt : {message.bytes.size() / 2, message.bytes.size() - 7,
                                   message.bytes.size() * 3 / 4 + 1}) {
            messages.push_back(message.bytes.substr(0, cutAt));
        }
    }
    const std::string head = "From: a@example.org\r\nSubject: odd\r\n";
    const std::string base64Part =
        "Content-Type: application/pdf; name=\"a.pdf\"\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nQUJDREVGR0hJ\r\nQUJ\r\n";
    messages.insert(
        messages.end(),
        {// A boundary followed by blanks, a part without headers, a folded content type.
         head +
             "Content-Type: multipart/mixed;\r\n boundary=\"b b\"\r\n\r\npreface\r\n"
             "--b b  \r\n\r\nno headers\r\n--b b\r\n" +
             base64Part + "--b b--\r\nepilogue\r\n",
         // An inner multipart that never closes ends at its parent's boundary.
         head +
             "Content-Type: multipart/mixed; boundary=outer\r\n\r\n--outer\r\n"
             "Content-Type: multipart/related; boundary=inner\r\n\r\n--inner\r\n" +
             base64Part + "--outer\r\nContent-Disposition: attachment\r\n\r\nx\r\n--outer--\r\n",
         // A digest, whose parts are messages unless they say otherwise; an encoded message.
         head +
             "Content-Type: multipart/digest; boundary=d\r\n\r\n--d\r\n\r\n"
             "From: b@example.org\r\nContent-Type: multipart/mixed; boundary=e\r\n\r\n"
             "--e\r\n" +
             base64Part +
             "--e--\r\n--d\r\nContent-Type: message/rfc822\r\n"
             "Content-Transfer-Encoding: base64\r\n\r\nQUJD\r\n--d--\r\n",
         // A single base64 body cut in a group; one with a boundary that is no boundary here.
         head + "Content-Transfer-Encoding: base64\r\n\r\nQUJDREVG\r\nQU\r\n",
         head + "Content-Transfer-Encoding: base64\r\n\r\nQUJD\r\n--b\r\nQU\r\n",
         // A part's header block runs over a boundary line; the bytes end inside a field name.
         head + "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nX-A: 1\r\n--b\r\n"
                "Content-Transfer-Encoding: base64\r\n\r\nQUJ\r\n--b--\r\n",
         head + "Content-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\nContent-Disp",
         // Lines ending in LF only; a multipart without a boundary.
         "From: a\nTo: b\nContent-Type: multipart/mixed; boundary=z\n\n--z\n"
         "Content-Type: image/png\nContent-Transfer-Encoding: base64\n\nQUJDRA\n--z--\n",
         head + "Content-Type: multipart/mixed\r\n\r\n--b\r\n" + base64Part});
    for (size_t i = 0; i < messages.size(); ++i) {
        SCOPED_TRACE(i);
        const std::optional<MimeSummary> summary = ReadMimeMessage(messages[i]);
        const std::optional<MimeParts> parts = ReadMimeParts(messages[i]);
        ASSERT_EQ(summary.has_value(), parts.has_value());
        if (!summary) {
            continue;
        }
        EXPECT_EQ(summary->attachmentCount, static_cast<int64_t>(parts->attachments.size()));
        EXPECT_EQ(summary->base64Cut, parts->base64Cut);
    }
}

TEST(StreamingCarverTest, AMessageWithAMovedRunComesBackIncompleteAndTheOthersIntact) {
    // The first multipart message longer than two runs.
    const auto corpus = stm::MakeCorpus(kCorpusMessages, kLargestMessage, kSeed);
    int moved = -1;
    for (size_t i = 0; i < corpus.size() && moved < 0; ++i) {
        if (corpus[i].multipart && corpus[i].bytes.size() > 3 * 64 * 1024) {
            moved = static_cast<int>(i);
        }
    }
    ASSERT_GE(moved, 0);
    const LaidCorpus laid = LayCorpus(moved);
    ASSERT_TRUE(laid.laid[moved].runMoved);
    const CarveResult result = Carve(laid.file);
    ASSERT_EQ(result.messages.size(), laid.corpus.size());
    EXPECT_EQ(result.counts.incomplete, 1);
    for (size_t i = 0; i < laid.corpus.size(); ++i) {
        const Carved& carved = result.messages[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(carved.message.offset, laid.laid[i].offset);
        if (static_cast<int>(i) == moved) {
            EXPECT_EQ(carved.message.incompleteReason, kReasonMultipartNotClosed);
            EXPECT_TRUE(carved.message.bytes ==
                        laid.corpus[i].bytes.substr(0, laid.laid[i].keptLength));
        } else {
            EXPECT_EQ(carved.message.incompleteReason, "");
            EXPECT_TRUE(carved.message.bytes == laid.corpus[i].bytes);
        }
    }
}

// The window and velmor-cli show the pass's progress and may stop it: a stop keeps the
// messages carved before it, as they were, and drops the one being carved.
TEST(StreamingCarverTest, APassReportsItsProgressAndAStopKeepsTheMessagesCarvedBeforeIt) {
    const LaidCorpus laid = LayCorpus(-1);
    test::TempDir dir;
    const auto path = dir / "Laid.stm";
    ASSERT_TRUE(stm::WriteStreamingFile(path, laid.file));
    CarveLimits limits;
    limits.chunkBytes = 256 * 1024;
    const auto total = static_cast<int64_t>(laid.file.size());

    std::vector<int64_t> reported;
    CarveObserver watch;
    watch.progress = [&](int64_t done, int64_t size) {
        EXPECT_EQ(size, total);
        reported.push_back(done);
    };
    RecoveredMessages whole;
    ASSERT_TRUE(whole.Load(path, limits, watch));
    EXPECT_FALSE(whole.counts().stopped);
    ASSERT_EQ(whole.messages().size(), laid.corpus.size());
    ASSERT_EQ(reported.size(),
              static_cast<size_t>((total + limits.chunkBytes - 1) / limits.chunkBytes));
    for (size_t i = 0; i < reported.size(); ++i) {
        EXPECT_EQ(reported[i], static_cast<int64_t>(i) * limits.chunkBytes);
    }

    // Stopped in the middle of the file.
    int tests = 0;
    CarveObserver stopping;
    stopping.stopRequested = [&] { return ++tests > static_cast<int>(reported.size() / 2); };
    RecoveredMessages stopped;
    ASSERT_TRUE(stopped.Load(path, limits, stopping));
    EXPECT_TRUE(stopped.counts().stopped);
    const int64_t stopAt = static_cast<int64_t>(reported.size() / 2) * limits.chunkBytes;
    size_t before = 0;
    while (laid.laid[before].offset + laid.laid[before].length <= stopAt) {
        ++before;
    }
    // The last one before the stop may still be open there: its end shows after it.
    ASSERT_LE(stopped.messages().size(), before);
    ASSERT_GE(stopped.messages().size() + 1, before);
    ASSERT_GT(stopped.messages().size(), 0u);
    for (size_t i = 0; i < stopped.messages().size(); ++i) {
        EXPECT_EQ(stopped.messages()[i].offset, laid.laid[i].offset);
        EXPECT_EQ(stopped.Bytes(i), laid.corpus[i].bytes);
    }
}

TEST(StreamingCarverTest, MessagesStartAtPageBoundariesOrRightAfterZeroFill) {
    const std::string message = "From: a@example.org\r\nSubject: one\r\n\r\nBody text.\r\n";
    std::vector<uint8_t> file(5 * 4096, 0);
    // Other text, then a message after zero fill in the middle of the page.
    std::memset(file.data(), 'x', 1000);
    std::memcpy(file.data() + 1100, message.data(), message.size());
    // At a page boundary, after a free page.
    std::memcpy(file.data() + 2 * 4096, message.data(), message.size());
    // Header fields after other text with no zero fill between are no start.
    std::memcpy(file.data() + 4 * 4096, "garbage", 7);
    std::memcpy(file.data() + 4 * 4096 + 7, message.data(), message.size());
    const CarveResult result = Carve(file);
    ASSERT_EQ(result.messages.size(), 2u);
    EXPECT_EQ(result.messages[0].message.offset, 1100);
    EXPECT_EQ(result.messages[1].message.offset, 2 * 4096);
    for (const Carved& carved : result.messages) {
        EXPECT_EQ(carved.message.bytes, message);
        EXPECT_EQ(carved.message.pages, 1);
        EXPECT_EQ(carved.summary.subject, "one");
    }
}

TEST(StreamingCarverTest, AMessageEndsAtTheNextStartAndAtZeroFillAfterItsOutermostMultipart) {
    const std::string first =
        "From: a@example.org\r\nDate: Mon, 7 Dec 2026 09:00:00 +0000\r\n\r\n" +
        std::string(5000, 'a') + "\r\n";
    const std::string second =
        "To: b@example.org\r\nContent-Type: multipart/mixed;\r\n boundary=\"outer\"\r\n\r\n"
        "--outer\r\nContent-Type: multipart/alternative; boundary=inner\r\n\r\n"
        "--inner\r\nContent-Type: text/plain\r\n\r\nx\r\n--inner--\r\n"
        "--outer--\r\n";
    std::vector<uint8_t> file(4 * 4096, 0);
    std::memcpy(file.data(), first.data(), first.size());
    // Other text on the page after the closed multipart's zero fill.
    std::memcpy(file.data() + 2 * 4096, second.data(), second.size());
    std::memset(file.data() + 3 * 4096, 'y', 4096);
    const CarveResult result = Carve(file);
    ASSERT_EQ(result.messages.size(), 2u);
    EXPECT_EQ(result.messages[0].message.bytes, first);
    EXPECT_EQ(result.messages[0].message.pages, 2);
    EXPECT_EQ(result.messages[1].message.bytes, second);
    EXPECT_EQ(result.messages[1].message.incompleteReason, "");
}

TEST(StreamingCarverTest, CutMessagesAreKeptAndMarkedWithTheReason) {
    // A multipart cut by a free page.
    const std::string open =
        "From: a@example.org\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n"
        "Content-Type: text/plain\r\n\r\ntext\r\n";
    // A base64 body cut in a group of four.
    const std::string cut =
        "From: a@example.org\r\nSubject: cut\r\nContent-Type: application/pdf\r\n"
        "Content-Transfer-Encoding: base64\r\n\r\nQUJDREVGR0hJ\r\nQUJD\r\nQU\r\n";
    std::vector<uint8_t> file(4 * 4096, 0);
    std::memcpy(file.data(), open.data(), open.size());
    std::memcpy(file.data() + 2 * 4096, cut.data(), cut.size());
    const CarveResult result = Carve(file);
    ASSERT_EQ(result.messages.size(), 2u);
    EXPECT_EQ(result.counts.incomplete, 2);
    EXPECT_EQ(result.messages[0].message.bytes, open);
    EXPECT_EQ(result.messages[0].message.incompleteReason, kReasonMultipartNotClosed);
    EXPECT_EQ(result.messages[1].message.bytes, cut);
    EXPECT_EQ(result.messages[1].message.incompleteReason, kReasonBase64Cut);
}

TEST(StreamingCarverTest, AHeaderBlockNeedsTwoMessageFieldsAndWellFormedLines) {
    const auto starts = [](std::string_view text) {
        return StartsHeaderBlock(PageView(reinterpret_cast<const uint8_t*>(text.data()),
                                          static_cast<int64_t>(text.size())),
                                 0);
    };
    EXPECT_TRUE(starts("SUBJECT: x\r\nmessage-id: <1@x>\r\n\r\nbody"));
    EXPECT_TRUE(starts("Received: from a\r\n\tby b;\r\n date\r\nX-Other: 1\r\nTo: c\r\n\r\n"));
    EXPECT_TRUE(starts("From: a\nTo: b\n"));  // cut by the end of the bytes
    EXPECT_FALSE(starts("Subject: x\r\nX-Other: y\r\n\r\n"));
    // An mbox separator line before the fields; a body without its empty line.
    EXPECT_TRUE(starts("From a@b Mon Dec  7 09:00:00 2026\r\nFrom: a\r\nTo: b\r\n\r\n"));
    EXPECT_TRUE(starts("From: a\r\nTo: b\r\nthe body\r\n"));
    EXPECT_FALSE(starts("From a@b Mon Dec  7 09:00:00 2026\r\nnot a field\r\n"));
    EXPECT_FALSE(starts(" From: a\r\nTo: b\r\n\r\n"));
    EXPECT_FALSE(starts("From: a\r\nnot a field\r\nTo: b\r\n\r\n"));
    EXPECT_FALSE(starts(std::string_view("From: a\0\r\nTo: b\r\n\r\n", 20)));
    EXPECT_FALSE(starts("\r\nFrom: a\r\nTo: b\r\n\r\n"));
    // A name longer than any field's is other text.
    EXPECT_FALSE(starts(std::string(80, 'X') + ": v\r\nFrom: a\r\nTo: b\r\n\r\n"));
    EXPECT_TRUE(starts(std::string(70, 'X') + ": v\r\nFrom: a\r\nTo: b\r\n\r\n"));

    const auto boundary = [](std::string_view text) {
        return OutermostBoundary(PageView(reinterpret_cast<const uint8_t*>(text.data()),
                                          static_cast<int64_t>(text.size())),
                                 0);
    };
    EXPECT_EQ(boundary("From: a\r\nContent-Type: Multipart/Mixed;\r\n\tboundary=\"a b\"\r\n\r\n"),
              "a b");
    EXPECT_EQ(boundary("Content-Type: multipart/related; type=x; boundary=plain\r\n\r\n"), "plain");
    EXPECT_EQ(boundary("Content-Type: multipart/mixed; xboundary=no\r\n\r\n"), "");
    EXPECT_EQ(boundary("Content-Type: text/plain; boundary=no\r\n\r\n"), "");
    EXPECT_EQ(boundary("From: a\r\nTo: b\r\n\r\n"), "");
}

// Bytes made on demand: a header block, then one base64 line that never ends.
class EndlessBase64Line : public ByteSource {
public:
    explicit EndlessBase64Line(int64_t size) : size_(size) {}
    int64_t size() const override { return size_; }
    int64_t Read(int64_t offset, std::span<uint8_t> buffer) override {
        const auto count = std::min<int64_t>(static_cast<int64_t>(buffer.size()), size_ - offset);
        for (int64_t i = 0; i < count; ++i) {
            const int64_t at = offset + i;
            buffer[static_cast<size_t>(i)] =
                at < static_cast<int64_t>(kHeader.size()) ? kHeader[static_cast<size_t>(at)] : 'Q';
        }
        return count;
    }

private:
    static constexpr std::string_view kHeader =
        "From: a@example.org\r\nSubject: endless\r\nContent-Type: multipart/mixed; "
        "boundary=b\r\n\r\n--b\r\nContent-Transfer-Encoding: base64\r\n\r\n";
    int64_t size_;
};

TEST(StreamingCarverTest, HostileInputsEndWithinTheLimitsAndACount) {
    CarveLimits limits;
    limits.maxMessageBytes = 1 << 20;

    // Random bytes hold no message.
    std::vector<uint8_t> random(4 << 20);
    uint64_t state = 88172645463325252ull;
    for (uint8_t& byte : random) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        byte = static_cast<uint8_t>(state);
    }
    EXPECT_EQ(Carve(random, limits).counts.messages, 0);

    // One header block of 64 bytes repeated: a message at every page boundary.
    const std::string block =
        "From: a@example.org\r\nTo: b@example.org\r\nSubject: repeated.\r\n\r\n";
    ASSERT_EQ(block.size(), 62u);
    std::string repeated;
    for (int i = 0; i < 100000; ++i) {
        repeated += block + "\r\n";
    }
    const CarveResult headers = Carve(Bytes(repeated), limits);
    EXPECT_EQ(headers.counts.messages, static_cast<int64_t>((repeated.size() + 4095) / 4096));
    for (const Carved& carved : headers.messages) {
        EXPECT_LE(carved.message.bytes.size(), 4096u);
    }

    // A multipart with no end is cut at the limit; what follows it is no message.
    std::string endless =
        "From: a@example.org\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n--b\r\n\r\n";
    while (endless.size() < 5u << 20) {
        endless += "QUJDREVGR0hJSktMTU5PUFFSU1RVVldYWVphYmNkZWZnaGlqa2xtbm9wcXJzdHV2d3h5\r\n";
    }
    const CarveResult multipart = Carve(Bytes(endless), limits);
    ASSERT_EQ(multipart.messages.size(), 1u);
    EXPECT_EQ(multipart.messages[0].message.incompleteReason, kReasonSizeLimit);
    EXPECT_EQ(static_cast<int64_t>(multipart.messages[0].message.bytes.size()),
              limits.maxMessageBytes);

    // One base64 line of 64 MiB, made as it is read.
    EndlessBase64Line line(int64_t{64} << 20);
    const CarveResult base64 = Carve(line, limits);
    ASSERT_EQ(base64.messages.size(), 1u);
    EXPECT_EQ(base64.messages[0].message.incompleteReason, kReasonSizeLimit);
    EXPECT_EQ(base64.counts.incomplete, 1);
}

// A source whose reads fail from one offset on.
class FailingSource : public MemoryByteSource {
public:
    FailingSource(std::span<const uint8_t> bytes, int64_t failFrom)
        : MemoryByteSource(bytes), failFrom_(failFrom) {}
    int64_t Read(int64_t offset, std::span<uint8_t> buffer) override {
        if (offset >= failFrom_) {
            return -1;
        }
        return MemoryByteSource::Read(
            offset, buffer.first(std::min<size_t>(buffer.size(), failFrom_ - offset)));
    }

private:
    int64_t failFrom_;
};

TEST(StreamingCarverTest, BytesThatCannotBeReadCountAsZerosAndEndTheMessage) {
    const std::string message =
        "From: a@example.org\r\nSubject: s\r\n\r\n" + std::string(9000, 'b');
    std::vector<uint8_t> file(4 * 4096, 0);
    std::memcpy(file.data(), message.data(), message.size());
    FailingSource source(file, 2 * 4096);
    CarveLimits limits;
    limits.chunkBytes = 4096;
    const CarveResult result = Carve(source, limits);
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].message.bytes, message.substr(0, 2 * 4096));
    EXPECT_EQ(result.counts.unreadableBytes, 2 * 4096);
}

}  // namespace
}  // namespace velmor
