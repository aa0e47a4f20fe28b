#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "stm_writer/carve_tally.h"
#include "stm_writer/real_mail.h"
#include "streaming/streaming_carve.h"

namespace velmor {
namespace {

enum class LineEnds { AsShipped, Crlf };

std::vector<std::string> RealMail(LineEnds lineEnds) {
    std::vector<std::string> messages = stm::ReadRealMail(VELMOR_REAL_MAIL_DIR);
    if (lineEnds == LineEnds::Crlf) {
        for (std::string& message : messages) {
            message = stm::WithCrlf(message);
        }
    }
    return messages;
}

stm::CarveTally CarveLaidOut(const std::vector<std::string>& messages, uint32_t seed) {
    std::vector<stm::LaidMessage> laid;
    const std::vector<uint8_t> file = stm::LayRealMail(messages, seed, laid);
    std::vector<stm::CarvedCopy> carved;
    MemoryByteSource source(file);
    CarveStreamingFile(source, CarveLimits{}, [&](CarvedMessage&& message, const MimeSummary&) {
        carved.push_back(
            {message.offset, std::string(message.bytes), !message.incompleteReason.empty()});
    });
    return stm::TallyCarving(messages, laid, carved);
}

class RealMailCarvingTest : public testing::TestWithParam<LineEnds> {};

TEST_P(RealMailCarvingTest, EveryMessageComesBackWholeWhateverFollowsIt) {
    const std::vector<std::string> messages = RealMail(GetParam());
    ASSERT_GE(messages.size(), 90u);
    for (const uint32_t seed : {1u, 2u, 3u, 4u}) {
        const stm::CarveTally tally = CarveLaidOut(messages, seed);
        SCOPED_TRACE(stm::Describe(tally));
        EXPECT_EQ(tally.whole, tally.laid);
        EXPECT_EQ(tally.extra, 0);
    }
}

TEST_P(RealMailCarvingTest, AMailboxFileOfThemSplitsAtEachFromLine) {
    const std::vector<std::string> messages = RealMail(GetParam());
    const std::string newline = GetParam() == LineEnds::Crlf ? "\r\n" : "\n";
    // Each message after its separator line (unless it has one) and before an empty line.
    std::vector<std::string> entries;
    std::string mailbox;
    for (const std::string& message : messages) {
        std::string entry = message.starts_with("From ")
                                ? std::string()
                                : "From someone@example.org Mon Dec  7 09:00:00 2026" + newline;
        for (size_t line = 0; line < message.size();) {
            const size_t end = std::min(message.find('\n', line), message.size() - 1) + 1;
            const std::string_view text(message.data() + line, end - line);
            entry += (line > 0 && text.starts_with("From ") ? ">" : "") + std::string(text);
            line = end;
        }
        entry += newline;
        entries.push_back(entry);
        mailbox += entry;
    }
    std::vector<uint8_t> file(mailbox.begin(), mailbox.end());
    file.resize(file.size() + 4096, 0);
    std::vector<std::string> carved;
    MemoryByteSource source(file);
    CarveStreamingFile(source, CarveLimits{}, [&](CarvedMessage&& message, const MimeSummary&) {
        carved.emplace_back(message.bytes);
    });
    ASSERT_EQ(carved.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(carved[i], entries[i]) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(LineEnds, RealMailCarvingTest,
                         testing::Values(LineEnds::AsShipped, LineEnds::Crlf));

}  // namespace
}  // namespace velmor
