#include "export/recovered_messages_export.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_contents.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "temp_dir.h"

namespace velmor {
namespace {

constexpr int kMessages = 5;
constexpr char kEntryDirectory[] = "Recovered from the streaming file";

ExportFormats EmlAndMbox() {
    return {.eml = true, .mbox = true, .vcard = false, .icalendar = false, .csv = false};
}

// The messages of a written streaming file, carved.
class RecoveredMessagesExportTest : public testing::Test {
protected:
    RecoveredMessagesExportTest() {
        const std::vector<stm::CorpusMessage> messages = stm::MakeCorpus(kMessages, 50000, 5);
        for (const auto& message : messages) {
            corpus_.push_back(message.bytes);
        }
        stm::WriteCorpusFile(tmp_ / "Store.stm", messages, 5);
        EXPECT_TRUE(messages_.Load(tmp_ / "Store.stm"));
        EXPECT_EQ(messages_.messages().size(), static_cast<size_t>(kMessages));
    }

    test::TempDir tmp_;
    std::vector<std::string> corpus_;
    RecoveredMessages messages_;
};

TEST_F(RecoveredMessagesExportTest, EachMessageIsWrittenAsCarvedAsEmlAndIntoOneMbox) {
    const RecoveredExportResult result =
        ExportRecoveredMessages(messages_, EmlAndMbox(), tmp_ / "out", nullptr);
    EXPECT_TRUE(result.error.empty()) << result.error;
    EXPECT_EQ(result.written, static_cast<size_t>(kMessages));
    EXPECT_EQ(result.directory, tmp_ / "out" / kEntryDirectory);
    EXPECT_EQ(test::ReadFile(result.directory / "00001.eml"), corpus_[0]);
    EXPECT_EQ(test::ReadFile(result.directory / "00005.eml"), corpus_[4]);
    const std::string mbox = test::ReadFile(result.directory / "folder.mbox");
    EXPECT_TRUE(mbox.starts_with("From juergen1@example.org Mon Dec  7 08:11:00 2026\n" +
                                 corpus_[0] + "\n"))
        << mbox.substr(0, 80);
}

// A stop between two messages keeps the .eml files already written and writes no mbox file
// that would lack the rest.
TEST_F(RecoveredMessagesExportTest, AStopKeepsTheEmlFilesWrittenAndWritesNoMbox) {
    int asked = 0;
    const RecoveredExportResult result = ExportRecoveredMessages(
        messages_, EmlAndMbox(), tmp_ / "out", nullptr, [&] { return ++asked > 2; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.written, 2U);
    EXPECT_TRUE(std::filesystem::exists(result.directory / "00002.eml"));
    EXPECT_FALSE(std::filesystem::exists(result.directory / "00003.eml"));
    EXPECT_FALSE(std::filesystem::exists(result.directory / "folder.mbox"));
}

}  // namespace
}  // namespace velmor
