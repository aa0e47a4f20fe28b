#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "edb_writer/demo_store.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "file_contents.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/demo_streaming_file.h"
#include "stm_writer/mime_corpus.h"
#include "streaming/carved_message_matcher.h"
#include "streaming/mime_summary.h"

namespace velmor {
namespace {

using test::RunCli;

constexpr char kInbox[] = "Mailbox - Ann Walker\\Top\\Inbox\\";
constexpr char kEntryFolder[] = "Recovered from the streaming file\\";
constexpr int kMessages = 4;
// The corpus dates message n at 09:(10+n):00 +0100.
uint64_t CarvedTime(int number, int extraSeconds) {
    return testdb::FileTimeFromUtc(2026, 12, 7, 8, 10 + number, extraSeconds);
}

// The row number of the mail with the subject in an items listing, or "" when none.
std::string RowOf(const std::string& listing, const std::string& subject) {
    const size_t at = listing.find("\t" + subject + "\t");
    if (at == std::string::npos) {
        return "";
    }
    const size_t lineStart = listing.rfind('\n', at) + 1;
    return listing.substr(lineStart, listing.find('\t', lineStart) - lineStart);
}

// A store whose mails match carved messages by Message-ID, by subject, sender and sent time,
// and by neither (sent two minutes off), beside a streaming file of four messages.
class StreamingMatchTest : public testing::Test {
protected:
    StreamingMatchTest() {
        corpus_ = stm::MakeCorpus(kMessages, 60000, 5);
        for (const auto& message : corpus_) {
            subjects_.push_back(ReadMimeMessage(message.bytes)->subject);
        }
        stm::WriteCorpusFile(tmp_ / "Store.stm", corpus_, 5);

        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        testdb::StoreBuilder builder;
        testdb::Folder top;
        top.parent = builder.AddMailbox(mailbox);
        top.name = "Top";
        testdb::Folder inbox;
        inbox.parent = builder.AddFolder(top);
        inbox.name = "Inbox";
        inbox.containerClass = "IPF.Note";
        const auto inboxId = builder.AddFolder(inbox);
        // The fourth message has attachments; its mail keeps only a different subject.
        testdb::Item byId;
        byId.subject = "Invoice as listed";
        byId.sender = "Someone Else";
        byId.time = CarvedTime(4, 0);
        byId.fields.messageId = "<carve-4@example.org>";
        builder.AddItem(inboxId, byId);
        testdb::Item bySender;
        bySender.subject = subjects_[1];
        bySender.sender = "Jürgen Müller";
        bySender.time = CarvedTime(2, 40);
        bySender.content.text = "Stored text only";
        builder.AddItem(inboxId, bySender);
        testdb::Item tooLate;
        tooLate.subject = subjects_[0];
        tooLate.sender = "Jürgen Müller";
        tooLate.time = CarvedTime(1, 0) + 2 * kMatchTimeTolerance;
        tooLate.content.text = "Stored text of the late one";
        builder.AddItem(inboxId, tooLate);
        builder.WriteTo(tmp_ / "Store.edb");
    }

    std::string Database() const { return (tmp_ / "Store.edb").string(); }

    test::TempDir tmp_;
    std::vector<stm::CorpusMessage> corpus_;
    std::vector<std::string> subjects_;
};

TEST_F(StreamingMatchTest, MatchedMailsShowTheirOriginalAndOnlyUnmatchedMessagesStayInTheEntry) {
    const auto items = RunCli({"items", Database(), "1", kInbox}, tmp_.path());
    ASSERT_EQ(items.exitCode, 0) << items.err;
    const std::string byId = RowOf(items.out, "Invoice as listed");
    const std::string bySender = RowOf(items.out, subjects_[1]);
    const std::string tooLate = RowOf(items.out, subjects_[0]);
    ASSERT_FALSE(byId.empty() || bySender.empty() || tooLate.empty()) << items.out;

    const auto matchedById = RunCli({"message", Database(), "1", kInbox, byId}, tmp_.path());
    ASSERT_EQ(matchedById.exitCode, 0) << matchedById.err;
    EXPECT_NE(matchedById.out.find("Note: Body and attachments from the streaming file.\n"),
              std::string::npos)
        << matchedById.out;
    EXPECT_NE(matchedById.out.find("Has attachments: yes\n"), std::string::npos);
    const auto attachments = RunCli({"attachments", Database(), "1", kInbox, byId}, tmp_.path());
    ASSERT_EQ(attachments.exitCode, 0) << attachments.err;
    EXPECT_TRUE(attachments.out.starts_with("1\tattachment-1.bin\t")) << attachments.out;
    const std::string saved = (tmp_ / "saved.bin").string();
    EXPECT_EQ(
        RunCli({"attachment", Database(), "1", kInbox, byId, "1", saved}, tmp_.path()).exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(saved));

    const auto matchedBySender =
        RunCli({"message", Database(), "1", kInbox, bySender}, tmp_.path());
    EXPECT_NE(matchedBySender.out.find("Note: Body and attachments from the streaming file."),
              std::string::npos)
        << matchedBySender.out;
    EXPECT_EQ(matchedBySender.out.find("Stored text only"), std::string::npos);

    const auto unmatched = RunCli({"message", Database(), "1", kInbox, tooLate}, tmp_.path());
    EXPECT_NE(unmatched.out.find("Stored text of the late one"), std::string::npos)
        << unmatched.out;
    EXPECT_EQ(unmatched.out.find("streaming file"), std::string::npos);
    EXPECT_EQ(RunCli({"attachments", Database(), "1", kInbox, tooLate}, tmp_.path()).out, "");

    // Messages 1 and 3 match no mail: only they are left in the entry.
    const auto entry = RunCli({"items", Database(), "2", kEntryFolder}, tmp_.path());
    ASSERT_EQ(entry.exitCode, 0) << entry.err;
    EXPECT_EQ(std::count(entry.out.begin(), entry.out.end(), '\n'), 3) << entry.out;
    EXPECT_NE(entry.out.find("\t" + subjects_[0] + "\t"), std::string::npos) << entry.out;
    EXPECT_NE(entry.out.find("\t" + subjects_[2] + "\t"), std::string::npos) << entry.out;
}

// A matched mail is found by what it shows: its original's body and attachments, not the
// stored body it no longer shows.
TEST_F(StreamingMatchTest, SearchFindsAMatchedMailByItsOriginalsBodyAndAttachments) {
    setenv("XDG_CACHE_HOME", (tmp_ / "cache").c_str(), 1);
    const auto search = [&](const std::string& query) {
        return RunCli({"search", Database(), "1", query}, tmp_.path());
    };
    const auto withAttachments = search("has:attachment");
    ASSERT_EQ(withAttachments.exitCode, 0) << withAttachments.err;
    EXPECT_EQ(std::count(withAttachments.out.begin(), withAttachments.out.end(), '\n'), 1)
        << withAttachments.out;
    EXPECT_NE(withAttachments.out.find("\tInvoice as listed\t"), std::string::npos)
        << withAttachments.out;
    const auto byName = search("\"attachment-1.bin\"");
    EXPECT_NE(byName.out.find("\tInvoice as listed\t"), std::string::npos) << byName.err;
    const std::optional<MimeBody> original = ReadMimeBody(corpus_[1].bytes);
    ASSERT_TRUE(original && original->text);
    const std::string word = original->text->substr(0, original->text->find(' '));
    const auto byBody = search("body:" + word);
    EXPECT_NE(byBody.out.find("\t" + subjects_[1] + "\t"), std::string::npos)
        << word << ": " << byBody.out << byBody.err;
    EXPECT_EQ(search("body:only").exitCode, 1) << "the stored body is not what the mail shows";

    // Without the streaming file, nothing names the attachments: the cached index is not used.
    std::filesystem::remove(tmp_ / "Store.stm");
    EXPECT_EQ(search("has:attachment").exitCode, 1);
    unsetenv("XDG_CACHE_HOME");
}

TEST_F(StreamingMatchTest, EmlAndMboxCarryTheOriginalOfAMatchedMailAsItWas) {
    const auto items = RunCli({"items", Database(), "1", kInbox}, tmp_.path());
    const std::string byId = RowOf(items.out, "Invoice as listed");
    const std::string bySender = RowOf(items.out, subjects_[1]);
    const std::string tooLate = RowOf(items.out, subjects_[0]);
    const auto exported =
        RunCli({"export", "--format", "eml,mbox", Database(), "1", (tmp_ / "out").string(), kInbox},
               tmp_.path());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const auto directory = tmp_ / "out" / "Top" / "Inbox";
    const auto eml = [&](const std::string& row) {
        return test::ReadFile(directory / ("0000" + row + ".eml"));
    };
    EXPECT_TRUE(eml(byId) == corpus_[3].bytes);
    EXPECT_TRUE(eml(bySender) == corpus_[1].bytes);
    EXPECT_NE(eml(tooLate).find("Stored text of the late one"), std::string::npos);
    EXPECT_EQ(eml(tooLate).find("Message-ID: <carve-"), std::string::npos);

    const std::string mbox = test::ReadFile(directory / "folder.mbox");
    EXPECT_NE(mbox.find(" Mon Dec  7 08:14:00 2026\n" + corpus_[3].bytes + "\n"),
              std::string::npos);
    EXPECT_NE(mbox.find(" Mon Dec  7 08:12:40 2026\n" + corpus_[1].bytes + "\n"),
              std::string::npos);
    EXPECT_NE(mbox.find("Stored text of the late one"), std::string::npos);
}

// Designated initializers leave the other fields to their defaults on purpose; GCC 12 warns
// about each one left out.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
TEST(CarvedMessageMatcherTest, MatchesByMessageIdElseBySubjectSenderAndTimeWithinAMinute) {
    std::vector<RecoveredMessage> messages(3);
    messages[0].summary = {.messageId = "a@example.org", .subject = "Hello", .fileTime = 1000};
    messages[1].summary = {.fromName = "Ann Smith",
                           .fromAddress = "ann@example.net",
                           .subject = "Report",
                           .fileTime = CarvedTime(2, 0)};
    messages[2].summary = {.fromName = "Ann Smith",
                           .subject = "Report",
                           .fileTime = CarvedTime(2, 0) + 3 * kMatchTimeTolerance};
    const CarvedMessageMatcher matcher(messages);

    EXPECT_EQ(matcher.Match({.messageId = "<a@example.org>"}), 0U);
    // A mail with a Message-ID that no message has is not matched by its subject.
    EXPECT_EQ(matcher.Match({.messageId = "<b@example.org>",
                             .subject = "Report",
                             .senderName = "Ann Smith",
                             .fileTime = CarvedTime(2, 0)}),
              std::nullopt);
    EXPECT_EQ(matcher.Match({.subject = "Report",
                             .senderAddress = "ANN@example.net",
                             .fileTime = CarvedTime(2, 0) + kMatchTimeTolerance}),
              1U);
    // The nearest in time of the messages of one subject and sender.
    EXPECT_EQ(matcher.Match({.subject = "Report",
                             .senderName = "Ann Smith",
                             .fileTime = CarvedTime(2, 0) + 3 * kMatchTimeTolerance - 5}),
              2U);
    EXPECT_EQ(matcher.Match({.subject = "Report",
                             .senderName = "Ann Smith",
                             .fileTime = CarvedTime(2, 0) + kMatchTimeTolerance + 1}),
              std::nullopt);
    EXPECT_EQ(matcher.Match({.subject = "Report", .senderName = "Bob"}), std::nullopt);
}
#pragma GCC diagnostic pop

// The demo: the second mailbox's last three inbox mails show their originals, two with
// attachments (one found by subject, sender and time); the file's five other messages, the cut
// one among them, stay in the entry.
TEST(DemoStreamingMatchTest, TheDemoInboxShowsItsInternetMailFromTheStreamingFile) {
    test::TempDir tmp;
    testdb::BuildDemoStore().WriteTo(tmp / "Demo.edb");
    ASSERT_TRUE(stm::WriteStreamingFile(tmp / "Demo.stm", stm::DemoStreamingFile()));
    const std::string database = (tmp / "Demo.edb").string();
    const std::string inbox = "Mailbox - Ben Carter\\Top of Information Store\\Inbox\\";
    const std::vector<std::string> attachments = {"1\tquarterly meeting schedule draft\t",
                                                  "1\tscan.pdf\t", ""};
    for (int row = 5; row <= 7; ++row) {
        SCOPED_TRACE(row);
        const auto message =
            RunCli({"message", database, "2", inbox, std::to_string(row)}, tmp.path());
        ASSERT_EQ(message.exitCode, 0) << message.err;
        EXPECT_NE(message.out.find("Note: Body and attachments from the streaming file.\n"),
                  std::string::npos)
            << message.out;
        const auto listed =
            RunCli({"attachments", database, "2", inbox, std::to_string(row)}, tmp.path());
        EXPECT_TRUE(listed.out.starts_with(attachments[row - 5])) << listed.out;
        EXPECT_EQ(listed.out.empty(), attachments[row - 5].empty()) << listed.out;
    }
    const auto entry = RunCli({"items", database, "3", kEntryFolder}, tmp.path());
    ASSERT_EQ(entry.exitCode, 0) << entry.err;
    EXPECT_EQ(std::count(entry.out.begin(), entry.out.end(), '\n'), 1 + 5) << entry.out;
    EXPECT_NE(entry.out.find("\tincomplete: multipart not closed\n"), std::string::npos);
}

// The rows of the folder with the path that a search's plain lines give, in their order.
std::vector<std::string> RowsIn(const std::string& lines, const std::string& path) {
    std::vector<std::string> rows;
    for (size_t start = 0; start < lines.size();) {
        const size_t end = lines.find('\n', start);
        const std::string line = lines.substr(start, end - start);
        if (line.starts_with(path + "\t")) {
            const size_t number = path.size() + 1;
            rows.push_back(line.substr(number, line.find('\t', number) - number));
        }
        start = end == std::string::npos ? lines.size() : end + 1;
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

constexpr int kDemoInboxMails = 7;

// Search finds what the windows show: the demo's mails with originals by their originals'
// bodies, and the entry's messages in the entry, each at the row that opens it.
TEST(DemoStreamingMatchTest, SearchFindsWhatTheMailsAndTheEntryShow) {
    test::TempDir tmp;
    testdb::BuildDemoStore().WriteTo(tmp / "Demo.edb");
    ASSERT_TRUE(stm::WriteStreamingFile(tmp / "Demo.stm", stm::DemoStreamingFile()));
    setenv("XDG_CACHE_HOME", (tmp / "cache").c_str(), 1);
    const std::string database = (tmp / "Demo.edb").string();
    const std::string inbox = "Mailbox - Ben Carter\\Top of Information Store\\Inbox\\";
    const auto search = [&](const std::string& row, const std::string& query) {
        return RunCli({"search", database, row, query}, tmp.path());
    };
    // The inbox's mails that show the word, as message prints them, are those found.
    std::vector<std::string> showing;
    for (int row = 1; row <= kDemoInboxMails; ++row) {
        const auto message =
            RunCli({"message", database, "2", inbox, std::to_string(row)}, tmp.path());
        ASSERT_EQ(message.exitCode, 0) << message.err;
        std::string text = message.out;
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return c < 0x80 ? std::tolower(c) : c; });
        if (text.find("tomorrow") != std::string::npos) {
            showing.push_back(std::to_string(row));
        }
    }
    EXPECT_NE(std::find(showing.begin(), showing.end(), "5"), showing.end());
    const auto tomorrow = search("2", "tomorrow");
    EXPECT_EQ(RowsIn(tomorrow.out, inbox), showing) << tomorrow.out << tomorrow.err;
    const auto budget = search("2", "body:budget");
    EXPECT_EQ(RowsIn(budget.out, inbox), (std::vector<std::string>{"1", "5", "7"}))
        << budget.out << budget.err;

    const auto entry = search("3", "kind:mail");
    ASSERT_EQ(entry.exitCode, 0) << entry.err;
    EXPECT_EQ(RowsIn(entry.out, kEntryFolder), (std::vector<std::string>{"1", "2", "3", "4", "5"}))
        << entry.out;
    const auto phrase = search("3", "\"regards straße Zürich\"");
    ASSERT_EQ(phrase.exitCode, 0) << phrase.err;
    const std::vector<std::string> rows = RowsIn(phrase.out, kEntryFolder);
    ASSERT_NE(std::find(rows.begin(), rows.end(), "4"), rows.end()) << phrase.out;
    const auto fourth = RunCli({"message", database, "3", kEntryFolder, "4"}, tmp.path());
    EXPECT_NE(fourth.out.find("meeting regards straße Zürich."), std::string::npos) << fourth.out;
    EXPECT_EQ(search("3", "\"regards straße Zürich\"").out, phrase.out) << "from the cache";
    unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace velmor
