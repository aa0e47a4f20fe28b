#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "command_output.h"
#include "edb_writer/store_builder.h"
#include "file_contents.h"
#include "pst_readers.h"
#include "pst_rules.h"
#include "python_reader.h"
#include "stm_writer/corpus_file.h"
#include "stm_writer/mime_corpus.h"
#include "streaming/mime_summary.h"

namespace velmor {
namespace {

using test::RunCli;

constexpr char kPstName[] = "Mailbox - Ann Walker.pst";
// "Bericht für Jürgen.pdf" and "日本語 メモ.txt".
constexpr char kGermanName[] = "Bericht f\xC3\xBCr J\xC3\xBCrgen.pdf";
// "Übersicht 2026.csv".
constexpr char kOverviewName[] =
    "\xC3\x9C"
    "bersicht 2026.csv";
constexpr char kJapaneseName[] =
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E \xE3\x83\xA1\xE3\x83\xA2.txt";
// Large enough for a data tree of two levels (more than 1,021 blocks of 8,176 bytes).
constexpr size_t kLargeAttachment = 9 * 1024 * 1024;

// Bytes of every value, in an order of their own for each seed.
std::string Content(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& byte : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<char>(state);
    }
    return bytes;
}

// Lines "A|subject|name|path" per attachment that pffexport's text export wrote below root.
// The subject is the conversation topic: pffexport drops the first character of a subject
// that begins outside Latin-1.
constexpr char kPffAttachments[] = R"(
import sys, os, re
root = sys.argv[1]
for folder, dirs, files in sorted(os.walk(root)):
    if os.path.basename(folder) != 'Attachments':
        continue
    item = os.path.dirname(folder)
    with open(os.path.join(item, 'OutlookHeaders.txt'), encoding='utf-8') as f:
        subject = next(l.split(':', 1)[1].strip() for l in f
                       if l.startswith('Conversation topic:'))
    for name in sorted(files, key=lambda n: int(n.split('_', 1)[0])):
        print('A|%s|%s|%s' % (subject, name.split('_', 1)[1], os.path.join(folder, name)))
)";

// The same lines for readpst's .eml files below root, each attachment decoded into out.
constexpr char kReadpstAttachments[] = R"(
import sys, os, email, email.policy
root, out = sys.argv[1], sys.argv[2]
count = 0
for folder, dirs, files in sorted(os.walk(root)):
    for name in sorted(files):
        with open(os.path.join(folder, name), 'rb') as f:
            msg = email.message_from_binary_file(f, policy=email.policy.default)
        for part in msg.iter_attachments():
            count += 1
            path = os.path.join(out, str(count))
            with open(path, 'wb') as f:
                f.write(part.get_payload(decode=True))
            print('A|%s|%s|%s' % (msg['Subject'], part.get_filename(), path))
)";

// A store whose inbox holds two mails that match messages of the streaming file beside it by
// Message-ID (the first with three attachments, one of them large, the second with one) and a
// mail that matches nothing; the file's two other messages (one with an attachment, one
// without) stay in the streaming file's entry.
class PstAttachmentsTest : public testing::Test {
protected:
    PstAttachmentsTest() {
        attachments_ = {
            {{kGermanName, "application/pdf", Content(20000, 1)},
             {kJapaneseName, "text/plain", "\xE3\x83\xA1\xE3\x83\xA2\r\n"},
             {"archive.bin", "application/octet-stream", Content(kLargeAttachment, 2)}},
            {{"notes.txt", "text/plain", "one line\r\n"}},
            {{kOverviewName, "text/csv", "a,b\r\n1,2\r\n"}},
            {},
        };
        std::vector<stm::CorpusMessage> messages;
        for (size_t i = 0; i < attachments_.size(); ++i) {
            messages.push_back(
                stm::MakeMessageWithAttachments(static_cast<int>(i + 1), attachments_[i], 7));
            subjects_.push_back(ReadMimeMessage(messages.back().bytes)->subject);
        }
        stm::WriteCorpusFile(tmp_ / "Store.stm", messages, 7);

        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        testdb::StoreBuilder builder;
        testdb::Folder top;
        top.parent = builder.AddMailbox(mailbox);
        top.name = "Top of Information Store";
        testdb::Folder inbox;
        inbox.parent = builder.AddFolder(top);
        inbox.name = "Inbox";
        inbox.containerClass = "IPF.Note";
        const auto inboxId = builder.AddFolder(inbox);
        for (int i = 1; i <= 3; ++i) {
            testdb::Item mail;
            mail.subject = "Mail " + std::to_string(i);
            mail.sender = "Someone Else";
            mail.fields.messageId =
                i < 3 ? "<carve-" + std::to_string(i) + "@example.org>" : "<elsewhere@example.org>";
            mail.content.text = "Stored text " + std::to_string(i);
            builder.AddItem(inboxId, mail);
        }
        builder.WriteTo(tmp_ / "Store.edb");
    }

    std::string Database() const { return (tmp_ / "Store.edb").string(); }

    std::filesystem::path ExportPst() {
        const auto exported = RunCli(
            {"export", "--format", "pst", Database(), "1", (tmp_ / "out").string()}, tmp_.path());
        EXPECT_EQ(exported.exitCode, 0) << exported.err;
        return tmp_ / "out" / kPstName;
    }

    // Both checkers pass the file; their verdict.
    std::string ExpectSoundFile(const std::filesystem::path& pst) {
        const std::string structure =
            test::RunPython(tmp_.path(), test::kPstStructureChecker, {pst.string()});
        EXPECT_EQ(structure.rfind("ok ", 0), 0u) << structure;
        const std::string rules =
            test::RunPython(tmp_.path(), test::kPstRuleChecker, {pst.string()});
        EXPECT_EQ(rules.rfind("ok ", 0), 0u) << rules;
        return rules;
    }

    // pffexport's and readpst's attachments each give back exactly the attachments of the
    // mails by subject, under their names and byte for byte (readpst lists them in reverse).
    // readpst gives a mail's Internet headers, so a matched mail's subject there is its
    // original's (byReadpstSubject); pffexport gives the stored subject.
    using ExpectedAttachments = std::map<std::string, std::vector<stm::CorpusAttachment>>;
    void ExpectAttachmentsInBothReaders(const std::filesystem::path& pst,
                                        const ExpectedAttachments& expected,
                                        const ExpectedAttachments* byReadpstSubject = nullptr) {
        const auto pff = test::RunCommand("pffexport -q -m all -f text -t " +
                                          test::Quoted((tmp_ / "pff").string()) + " " +
                                          test::Quoted(pst.string()));
        ASSERT_EQ(pff.status, 0) << pff.text;
        ExpectAttachments(test::Lines(test::RunPython(tmp_.path(), kPffAttachments,
                                                      {(tmp_ / "pff.export").string()})),
                          expected);
        std::filesystem::create_directory(tmp_ / "readpst");
        std::filesystem::create_directory(tmp_ / "decoded");
        const auto readpst = test::RunCommand("readpst -j 0 -D -S -e -o " +
                                              test::Quoted((tmp_ / "readpst").string()) + " " +
                                              test::Quoted(pst.string()));
        ASSERT_EQ(readpst.status, 0) << readpst.text;
        ExpectAttachments(test::Lines(test::RunPython(
                              tmp_.path(), kReadpstAttachments,
                              {(tmp_ / "readpst").string(), (tmp_ / "decoded").string()})),
                          byReadpstSubject != nullptr ? *byReadpstSubject : expected);
    }

    // Each "A|subject|name|path" line is an attachment of the mail of that subject; every
    // attachment is there once.
    static void ExpectAttachments(
        const std::vector<std::string>& lines,
        const std::map<std::string, std::vector<stm::CorpusAttachment>>& expected) {
        std::map<std::string, std::set<std::string>> seen;
        for (const std::string& line : lines) {
            const size_t subjectEnd = line.find('|', 2);
            const size_t nameEnd = line.find('|', subjectEnd + 1);
            ASSERT_TRUE(line.starts_with("A|") && nameEnd != std::string::npos) << line;
            const std::string subject = line.substr(2, subjectEnd - 2);
            const std::string name = line.substr(subjectEnd + 1, nameEnd - subjectEnd - 1);
            const auto mail = expected.find(subject);
            ASSERT_NE(mail, expected.end()) << line;
            const auto attachment =
                std::find_if(mail->second.begin(), mail->second.end(),
                             [&](const stm::CorpusAttachment& a) { return a.name == name; });
            ASSERT_NE(attachment, mail->second.end()) << line;
            EXPECT_TRUE(seen[subject].insert(name).second) << line;
            const std::string content = test::ReadFile(line.substr(nameEnd + 1));
            EXPECT_EQ(content.size(), attachment->content.size()) << name;
            EXPECT_TRUE(content == attachment->content) << name;
        }
        for (const auto& [subject, attachments] : expected) {
            EXPECT_EQ(seen[subject].size(), attachments.size()) << subject;
        }
    }

    test::TempDir tmp_;
    std::vector<std::vector<stm::CorpusAttachment>> attachments_;
    std::vector<std::string> subjects_;  // of the carved messages
};

TEST_F(PstAttachmentsTest, MatchedMailsCarryTheirOriginalsAttachmentsIntoThePstFile) {
    const auto pst = ExportPst();
    const std::string rules = ExpectSoundFile(pst);
    EXPECT_NE(rules.find(" 3 messages 4 attachments "), std::string::npos) << rules;
    const ExpectedAttachments originals = {{subjects_[0], attachments_[0]},
                                           {subjects_[1], attachments_[1]}};
    ExpectAttachmentsInBothReaders(pst, {{"Mail 1", attachments_[0]}, {"Mail 2", attachments_[1]}},
                                   &originals);
}

// The store keeps no Internet headers for the matched mails: their originals give the sender's
// address, which readpst shows instead of MAILER-DAEMON.
TEST_F(PstAttachmentsTest, MatchedMailsCarryTheirOriginalsSenderAddressIntoThePstFile) {
    const auto pst = ExportPst();
    std::filesystem::create_directory(tmp_ / "readpst");
    const auto readpst =
        test::RunCommand("readpst -j 0 -D -S -e -o " + test::Quoted((tmp_ / "readpst").string()) +
                         " " + test::Quoted(pst.string()));
    ASSERT_EQ(readpst.status, 0) << readpst.text;
    constexpr char kSenders[] = R"(
import sys, os, email, email.policy
for folder, dirs, files in sorted(os.walk(sys.argv[1])):
    for name in sorted(files):
        with open(os.path.join(folder, name), 'rb') as f:
            msg = email.message_from_binary_file(f, policy=email.policy.default)
        print('%s|%s' % (msg['Message-ID'], msg['From'].addresses[0].addr_spec))
)";
    std::vector<std::string> senders =
        test::Lines(test::RunPython(tmp_.path(), kSenders, {(tmp_ / "readpst").string()}));
    std::sort(senders.begin(), senders.end());
    ASSERT_EQ(senders.size(), 3U);
    EXPECT_EQ(senders[0], "<carve-1@example.org>|juergen1@example.org");
    EXPECT_EQ(senders[1], "<carve-2@example.org>|juergen2@example.org");
}

TEST_F(PstAttachmentsTest, TheStreamingEntryExportsAsCsvAndPstAndWritesNoCardsOrCalendars) {
    const auto out = tmp_ / "out";
    const auto exported = RunCli(
        {"export", "--format", "csv,pst,vcf,ics", Database(), "2", out.string()}, tmp_.path());
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    EXPECT_EQ(exported.out,
              "Recovered from the streaming file\\\tRecovered from the streaming file\t2\n"
              "PST\tRecovered from the streaming file.pst\t2\n");
    // The entry's folder holds the list alone, as a mailbox's mail folder would.
    const auto folder = out / "Recovered from the streaming file";
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(files, std::vector<std::string>{"items.csv"});
    const std::string csv = test::ReadFile(folder / "items.csv");
    EXPECT_TRUE(csv.starts_with("No,From,Subject,Date/Time,Attachments,Status\r\n1,")) << csv;
    EXPECT_NE(csv.find("," + subjects_[2] + ","), std::string::npos) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3) << csv;

    const auto pst = out / "Recovered from the streaming file.pst";
    const std::string rules = ExpectSoundFile(pst);
    EXPECT_NE(rules.find(" 2 messages 1 attachments "), std::string::npos) << rules;
    ExpectAttachmentsInBothReaders(pst, {{subjects_[2], attachments_[2]}});
}

// Replaces the first 8-byte property record id, type, value of a property context in the file.
bool ReplaceRecord(const std::filesystem::path& file, uint16_t id, uint32_t value,
                   uint32_t replacement) {
    std::string bytes = test::ReadFile(file);
    const auto record = [&](uint32_t cell) {
        std::string text;
        for (uint32_t part : {uint32_t{id} | uint32_t{0x0003} << 16, cell}) {
            for (int i = 0; i < 4; ++i) {
                text += static_cast<char>(part >> (8 * i));
            }
        }
        return text;
    };
    const size_t at = bytes.find(record(value));
    if (at == std::string::npos) {
        return false;
    }
    bytes.replace(at, 8, record(replacement));
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    return true;
}

TEST_F(PstAttachmentsTest, TheRuleCheckerFindsABrokenAttachmentValue) {
    const auto pst = ExportPst();
    const auto broken = [&](const std::string& name, uint16_t id, uint32_t value,
                            uint32_t replacement) {
        const auto copy = tmp_ / name;
        std::filesystem::copy_file(pst, copy);
        EXPECT_TRUE(ReplaceRecord(copy, id, value, replacement)) << name;
        return test::RunPython(tmp_.path(), test::kPstRuleChecker, {copy.string()});
    };
    constexpr uint16_t kAttachMethod = 0x3705;
    constexpr uint16_t kMessageFlags = 0x0E07;
    // By reference instead of by value: the table's row and the object disagree.
    const std::string method = broken("method.pst", kAttachMethod, 1, 2);
    EXPECT_NE(method.find("3705 is 1 in the table, 2 in the object"), std::string::npos) << method;
    // A read mail with attachments that lost MSGFLAG_HASATTACH.
    const std::string flags = broken("flags.pst", kMessageFlags, 0x11, 0x01);
    EXPECT_NE(flags.find("no MSGFLAG_HASATTACH"), std::string::npos) << flags;
}

}  // namespace
}  // namespace velmor
