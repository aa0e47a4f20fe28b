#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <map>
#include <set>

#include "cli_runner.h"
#include "command_output.h"
#include "edb/text_codec.h"
#include "edb_writer/demo_store.h"
#include "export/pst/pst_mailbox_file.h"
#include "export_test_store.h"
#include "pst_readers.h"
#include "pst_rules.h"
#include "python_reader.h"

namespace velmor {
namespace {

using test::April;
using test::ExportTestStore;
using test::Mail;
using test::MakeItem;
using testdb::Item;
using testdb::ItemKind;

constexpr char kPstName[] = "Mailbox - Ann Walker.pst";
// Where the folders of the mailbox are in the readers' trees: the mailbox's "Top of
// Information Store" is the file's top folder.
constexpr char kPffTop[] = "Top of Personal Folders";
constexpr char kReadpstTop[] = "Mailbox - Ann Walker";
// Names outside Latin-1: "Report: Привет — 日本 ☃" and "Mappe Папка ✓" (stored texts that
// begin with a Latin-1 character read as UTF-16).
constexpr char kCyrillicSubject[] =
    "Report: \xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82 \xE2\x80\x94 "
    "\xE6\x97\xA5\xE6\x9C\xAC \xE2\x98\x83";
constexpr char kCyrillicFolder[] = "Mappe \xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0 \xE2\x9C\x93";
// Recovered folder names that show as no name.
constexpr char kBlank[] = " ";
constexpr char kTwoBlanks[] = "\t ";
constexpr char kZoe[] = "Zo\xC3\xAB Stra\xC3\x9F";
constexpr char kDesire[] = "D\xC3\xA9sir\xC3\xA9 Moore";

ExportOptions PstOnly() {
    ExportOptions options;
    options.formats = {false, false, false, false, false, true};
    return options;
}

std::string Time(uint64_t fileTime) {
    return std::to_string(fileTime);
}

std::vector<std::string> Sorted(std::vector<std::string> lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

class PstExportTest : public testing::Test {
protected:
    // Exports every folder of the mailbox as the command line does; the file, or nothing
    // with the reason in error_.
    std::optional<std::filesystem::path> ExportAll(const ExportOptions& options = PstOnly()) {
        auto& browsed = store_.Browsed();
        MailboxExport exporter(browsed.context(), browsed.tree, store_.out.path(), options);
        if (!exporter.Prepare(error_)) {
            return std::nullopt;
        }
        std::vector<TreeItem> pending = browsed.tree.Children(kNoTreeItem);
        std::vector<TreeItem> folders;
        while (!pending.empty()) {
            const TreeItem item = pending.front();
            pending.erase(pending.begin());
            for (TreeItem child : browsed.tree.Children(item)) {
                folders.push_back(child);
                pending.push_back(child);
            }
        }
        for (TreeItem folder : folders) {
            const FolderExportResult result = exporter.Export(folder);
            if (!result.ok()) {
                error_ = result.stopped ? "stopped" : result.error;
                return std::nullopt;
            }
        }
        return exporter.FinishPst(error_);
    }

    void ExpectSoundStructure(const std::filesystem::path& pst) {
        const std::string verdict =
            test::RunPython(store_.out.path(), test::kPstStructureChecker, {pst.string()});
        EXPECT_EQ(verdict.rfind("ok ", 0), 0u) << verdict;
        const std::string rules =
            test::RunPython(store_.out.path(), test::kPstRuleChecker, {pst.string()});
        EXPECT_EQ(rules.rfind("ok ", 0), 0u) << rules;
    }

    std::vector<std::string> PffExport(const std::filesystem::path& pst) {
        const auto target = store_.out / "pff";
        const auto run =
            test::RunCommand("pffexport -q -m all -f text -t " + test::Quoted(target.string()) +
                             " " + test::Quoted(pst.string()));
        EXPECT_EQ(run.status, 0) << run.text;
        EXPECT_FALSE(std::filesystem::exists(store_.out / "pff.orphans"))
            << "every item is reachable from the folder tree";
        EXPECT_FALSE(std::filesystem::exists(store_.out / "pff.recovered"));
        return test::Lines(test::RunPython(store_.out.path(), test::kPffExportReader,
                                           {(store_.out / "pff.export").string()}));
    }

    // readpst's lines, and its summary of the folders ("Tasks" - 0 items done, 2 skipped).
    // Its parallel jobs sometimes skip items of a large folder, so it runs as one job.
    std::vector<std::string> Readpst(const std::filesystem::path& pst, std::string& summary) {
        const auto target = store_.out / "readpst";
        std::filesystem::create_directory(target);
        const auto run =
            test::RunCommand("readpst -j 0 -D -S -e -o " + test::Quoted(target.string()) + " " +
                             test::Quoted(pst.string()));
        EXPECT_EQ(run.status, 0) << run.text;
        summary = run.text;
        return test::Lines(
            test::RunPython(store_.out.path(), test::kReadpstReader, {target.string()}));
    }

    ExportTestStore store_;
    std::string error_;
};

TEST_F(PstExportTest, BothReadersGiveBackEveryFolderAndItemOfEveryKind) {
    const auto inbox = store_.AddFolder("Inbox");
    Item reply = Mail("Carol Hughes", "Budget", April(10, 13, 39));
    reply.subjectPrefix = "RE: ";
    reply.content.text = "Short text body";
    store_.builder.AddItem(inbox, reply);
    Item unicode = Mail(kZoe, kCyrillicSubject, April(11, 8, 5));
    unicode.flagged = true;
    unicode.content.html = "<p>The <b>HTML</b> body</p>";
    store_.builder.AddItem(inbox, unicode);
    store_.builder.AddItem(inbox, Mail("Frank Norris", "No time", ~0ull));
    store_.builder.AddItem(store_.AddFolder(inbox, "Projects", "IPF.Note"),
                           Mail("David Moore", "Website drafts", April(12, 9, 0)));
    Item sent = Mail("Ann Walker", "Figures", April(10, 14, 2));
    sent.recipients = {{"Carol Hughes"}, {kDesire, testdb::TextEncoding::Ansi}};
    store_.builder.AddItem(store_.AddFolder("Sent Items"), sent);
    Item carol = MakeItem(ItemKind::Contact, "", April(1, 10, 0));
    carol.contact = {"Carol Hughes",
                     "Carol",
                     "Hughes",
                     "+1 555-0110",
                     "+1 555-0199",
                     "+1 555-0142",
                     "1 Example Plaza, Springfield",
                     "carol@example.com"};
    store_.builder.AddItem(store_.AddFolder("Contacts", "IPF.Contact"), carol);
    Item meeting = MakeItem(ItemKind::Appointment, "Status meeting", April(16, 9, 0));
    meeting.location = "Room 2.14";
    store_.builder.AddItem(store_.AddFolder("Calendar", "IPF.Appointment"), meeting);
    store_.builder.AddItem(store_.AddFolder("Tasks", "IPF.Task"),
                           MakeItem(ItemKind::Task, "Send the report", April(17, 17, 0)));
    store_.builder.AddItem(store_.AddFolder("Notes", "IPF.StickyNote"),
                           MakeItem(ItemKind::StickyNote, "Call Frank", April(11, 8, 15)));
    Item journal = MakeItem(ItemKind::Journal, "Call with Henry", April(10, 11, 0));
    journal.entryType = "Phone call";
    store_.builder.AddItem(store_.AddFolder("Journal", "IPF.Journal"), journal);
    store_.AddFolder("Empty");
    store_.builder.AddItem(store_.AddFolder(kCyrillicFolder),
                           Mail(kZoe, "Inside", April(13, 7, 30)));
    store_.builder.AddItem(store_.AddFolder("Deleted Items"),
                           Mail("Henry Ford", "Old news", April(3, 12, 0)));
    store_.builder.AddItem(store_.AddFolder(kBlank), Mail("Ida Nash", "Nameless", April(4, 8, 0)));
    store_.AddFolder(kTwoBlanks);

    ASSERT_EQ(store_.Listing("Inbox").at(1).subject, Utf8ToUtf16(kCyrillicSubject));
    ASSERT_EQ(store_.Listing(kCyrillicFolder).size(), 1u);
    const auto pst = ExportAll();
    ASSERT_TRUE(pst) << error_;
    EXPECT_EQ(*pst, store_.out / kPstName);
    ExpectSoundStructure(*pst);
    const auto info = test::RunCommand("pffinfo " + test::Quoted(pst->string()));
    EXPECT_EQ(info.status, 0) << info.text;
    EXPECT_NE(info.text.find("Encryption type:\tnone"), std::string::npos) << info.text;

    const std::string top = kPffTop;
    const std::string body = "'Short text body'";
    EXPECT_EQ(
        Sorted(PffExport(*pst)),
        Sorted({
            "F|.|0",
            "F|SPAM Search Folder 2|0",
            "F|Search Root|0",
            "F|Top of Personal Folders|0",
            "F|" + top + "\\Deleted Items|1",
            "I|" + top + "\\Deleted Items|Old news|Henry Ford||" + Time(April(3, 12, 0)) + "|''",
            "F|" + top + "\\(no name)|1",
            "I|" + top + "\\(no name)|Nameless|Ida Nash||" + Time(April(4, 8, 0)) + "|''",
            "F|" + top + "\\(no name) (2)|0",
            "F|" + top + "\\Inbox|3",
            "I|" + top + "\\Inbox|RE: Budget|Carol Hughes||" + Time(April(10, 13, 39)) + "|" + body,
            "I|" + top + "\\Inbox|" + kCyrillicSubject + "|" + kZoe + "||" + Time(April(11, 8, 5)) +
                "|'<p>The <b>HTML</b> body</p>'",
            "I|" + top + "\\Inbox|No time|Frank Norris|||''",
            "F|" + top + "\\Inbox\\Projects|1",
            "I|" + top + "\\Inbox\\Projects|Website drafts|David Moore||" + Time(April(12, 9, 0)) +
                "|''",
            "F|" + top + "\\Sent Items|1",
            "I|" + top + "\\Sent Items|Figures|Ann Walker|Carol Hughes," + kDesire + "|" +
                Time(April(10, 14, 2)) + "|''",
            "F|" + top + "\\Contacts|1",
            "I|" + top + "\\Contacts|Carol Hughes||||''",
            "C|Carol|Hughes|+1 555-0199|+1 555-0110|+1 555-0142|1 Example Plaza, "
            "Springfield|carol@example.com",
            "F|" + top + "\\Calendar|1",
            "I|" + top + "\\Calendar|Status meeting|||" + Time(April(16, 9, 0)) + "|''",
            "L|Room 2.14",
            "F|" + top + "\\Tasks|1",
            "I|" + top + "\\Tasks|Send the report|||" + Time(April(17, 17, 0)) + "|''",
            "F|" + top + "\\Notes|1",
            "I|" + top + "\\Notes|Call Frank|||" + Time(April(11, 8, 15)) + "|''",
            "F|" + top + "\\Journal|1",
            "I|" + top + "\\Journal|Call with Henry|||" + Time(April(10, 11, 0)) + "|''",
            "F|" + top + "\\Empty|0",
            "F|" + top + "\\" + kCyrillicFolder + "|1",
            "I|" + top + "\\" + kCyrillicFolder + "|Inside|" + kZoe + "||" +
                Time(April(13, 7, 30)) + "|''",
        }));

    std::string summary;
    const std::string mailbox = kReadpstTop;
    EXPECT_EQ(
        Sorted(Readpst(*pst, summary)),
        Sorted({
            "M|" + mailbox + "\\Inbox|RE: Budget|Carol Hughes||" + Time(April(10, 13, 39)) + "|" +
                body,
            "M|" + mailbox + "\\Inbox|" + kCyrillicSubject + "|" + kZoe + "||" +
                Time(April(11, 8, 5)) + "|''",
            "M|" + mailbox + "\\Inbox|No time|Frank Norris|||''",
            "M|" + mailbox + "\\Inbox\\Projects|Website drafts|David Moore||" +
                Time(April(12, 9, 0)) + "|''",
            "M|" + mailbox + "\\Sent Items|Figures|Ann Walker|\"Carol Hughes; " + kDesire + "\"|" +
                Time(April(10, 14, 2)) + "|''",
            "C|" + mailbox + "\\Contacts|Carol Hughes|Hughes;Carol;;;|+1 555-0199|" +
                "+1 555-0110|+1 555-0142|1 Example Plaza, Springfield|carol@example.com",
            "E|" + mailbox + "\\Calendar|Status meeting|" + Time(April(16, 9, 0)) + "|Room 2.14",
            "E|" + mailbox + "\\Journal|Call with Henry|" + Time(April(10, 11, 0)) + "|",
            "M|" + mailbox + "\\" + kCyrillicFolder + "|Inside|" + kZoe + "||" +
                Time(April(13, 7, 30)) + "|''",
            "M|" + mailbox + "\\Deleted Items|Old news|Henry Ford||" + Time(April(3, 12, 0)) +
                "|''",
            "M|" + mailbox + "\\(no name)|Nameless|Ida Nash||" + Time(April(4, 8, 0)) + "|''",
        }));
    // readpst writes no files for tasks and sticky notes; it counts them as skipped.
    EXPECT_NE(summary.find("\"Tasks\" - 0 items done, 1 items skipped."), std::string::npos)
        << summary;
    EXPECT_NE(summary.find("\"Notes\" - 0 items done, 1 items skipped."), std::string::npos)
        << summary;
}

// A folder big enough that its contents table spans many heap blocks (with the bitmap
// headers), its rows a data tree in a subnode and its row index two levels; a body larger
// than a block, and a recipient table of many rows.
TEST_F(PstExportTest, LargeTablesAndValuesSpanBlocksSubnodesAndTreeLevels) {
    constexpr int kMails = 1200;
    constexpr int kRecipients = 30;
    const auto inbox = store_.AddFolder("Inbox");
    for (int i = 0; i < kMails; ++i) {
        store_.builder.AddItem(inbox,
                               Mail("Sender " + std::to_string(i % 97),
                                    "Subject number " + std::to_string(i) + std::string(40, 'x'),
                                    April(1 + i % 28, i % 24, i % 60)));
    }
    const auto bulky = store_.AddFolder("Sent Items");
    Item longBody = Mail("Carol Hughes", "Long body", April(2, 9, 0));
    for (int line = 0; longBody.content.text.size() < 30000; ++line) {
        longBody.content.text += "Line " + std::to_string(line) + " of a long body.\n";
    }
    store_.builder.AddItem(bulky, longBody);
    Item crowded = Mail("Carol Hughes", "Many recipients", April(2, 10, 0));
    for (int i = 0; i < kRecipients; ++i) {
        crowded.recipients.push_back({"Recipient with a long display name " + std::to_string(i)});
    }
    store_.builder.AddItem(bulky, crowded);

    const auto pst = ExportAll();
    ASSERT_TRUE(pst) << error_;
    ExpectSoundStructure(*pst);
    const auto items = PffExport(*pst);
    const std::string inboxPath = std::string(kPffTop) + "\\Inbox";
    EXPECT_EQ(
        std::count(items.begin(), items.end(), "F|" + inboxPath + "|" + std::to_string(kMails)), 1);
    std::vector<std::string> inboxItems;
    for (const auto& line : items) {
        if (line.rfind("I|" + inboxPath + "|", 0) == 0) {
            inboxItems.push_back(line);
        }
    }
    ASSERT_EQ(inboxItems.size(), static_cast<size_t>(kMails));
    EXPECT_EQ(inboxItems.front(), "I|" + inboxPath + "|Subject number 0" + std::string(40, 'x') +
                                      "|Sender 0||" + Time(April(1, 0, 0)) + "|''");
    EXPECT_EQ(inboxItems.back(), "I|" + inboxPath + "|Subject number 1199" + std::string(40, 'x') +
                                     "|Sender 35||" +
                                     Time(April(1 + 1199 % 28, 1199 % 24, 1199 % 60)) + "|''");

    const std::string bulkyPath = std::string(kPffTop) + "\\Sent Items";

    std::string recipients;
    for (int i = 0; i < kRecipients; ++i) {
        recipients += (i == 0 ? "" : ",") + std::string("Recipient with a long display name ") +
                      std::to_string(i);
    }
    std::string body = longBody.content.text;
    body.erase(body.find_last_not_of('\n') + 1);
    const auto escaped =
        test::RunPython(store_.out.path(), "import sys\nprint(repr(sys.argv[1]))", {body});
    EXPECT_NE(std::find(items.begin(), items.end(),
                        "I|" + bulkyPath + "|Long body|Carol Hughes||" + Time(April(2, 9, 0)) +
                            "|" + escaped.substr(0, escaped.size() - 1)),
              items.end());
    EXPECT_NE(std::find(items.begin(), items.end(),
                        "I|" + bulkyPath + "|Many recipients|Carol Hughes|" + recipients + "|" +
                            Time(April(2, 10, 0)) + "|''"),
              items.end());

    std::string summary;
    const auto mails = Readpst(*pst, summary);
    EXPECT_EQ(std::count_if(mails.begin(), mails.end(),
                            [](const std::string& line) {
                                return line.rfind(std::string("M|") + kReadpstTop + "\\Inbox|",
                                                  0) == 0;
                            }),
              kMails)
        << summary;
}

TEST_F(PstExportTest, AStopLeavesNoFile) {
    const auto inbox = store_.AddFolder("Inbox");
    for (int i = 0; i < 6; ++i) {
        store_.builder.AddItem(inbox,
                               Mail("Carol Hughes", "Mail " + std::to_string(i), April(10, 9, i)));
    }
    StopFlag& stop = store_.Browsed().stop();
    int seen = 0;
    ExportOptions options = PstOnly();
    options.completeRecord = [&](ExportRecord&, const ListedItem&) {
        if (++seen == 3) {
            stop.request();
        }
    };
    EXPECT_FALSE(ExportAll(options));
    stop.clear();
    EXPECT_EQ(error_, "stopped");
    EXPECT_TRUE(test::FileNames(store_.out.path()).empty()) << "nothing under any name";
}

// A file-size limit makes writes fail as a full disk does: the export reports it and leaves
// nothing behind.
TEST_F(PstExportTest, AFailedWriteIsReportedAndLeavesNoFile) {
    const auto inbox = store_.AddFolder("Inbox");
    for (int i = 0; i < 200; ++i) {
        store_.builder.AddItem(inbox,
                               Mail("Carol Hughes", "Mail " + std::to_string(i), April(10, 9, 0)));
    }
    store_.Browsed();
    rlimit original{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &original), 0);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = original;
    limited.rlim_cur = 128 * 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto pst = ExportAll();
    ::setrlimit(RLIMIT_FSIZE, &original);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(pst);
    EXPECT_NE(error_.find("cannot write a file in " + store_.out.path().string()),
              std::string::npos)
        << error_;
    EXPECT_NE(error_.find("File too large"), std::string::npos) << error_;
    EXPECT_TRUE(test::FileNames(store_.out.path()).empty());
}

// The items of each folder below the top in a reader's lines: "I|folder|subject|..." or
// "M|folder|subject|...", the subjects by folder.
std::map<std::string, std::multiset<std::string>> SubjectsByFolder(
    const std::vector<std::string>& lines, const std::string& top, char kind) {
    std::map<std::string, std::multiset<std::string>> subjects;
    const std::string prefix = std::string(1, kind) + "|" + top + "\\";
    for (const auto& line : lines) {
        if (line.rfind(prefix, 0) == 0) {
            const size_t folderEnd = line.find('|', prefix.size());
            const size_t subjectEnd = line.find('|', folderEnd + 1);
            subjects[line.substr(prefix.size(), folderEnd - prefix.size())].insert(
                line.substr(folderEnd + 1, subjectEnd - folderEnd - 1));
        }
    }
    return subjects;
}

// Folders of one row, of as many rows as the contents table's first block holds (67 rows of
// 122 bytes), one more, and of many blocks: every row is where a reader that counts rows per
// block looks, and both readers give back every mail.
TEST_F(PstExportTest, ContentsTablesOfEverySizeReadBackWhole) {
    std::map<std::string, std::multiset<std::string>> expected;
    for (const int size : {1, 67, 68, 69, 70, 2000}) {
        const std::string name = "Folder " + std::to_string(size);
        const auto folder = store_.AddFolder(name);
        for (int i = 0; i < size; ++i) {
            const std::string subject = "Mail " + std::to_string(i) + " of " + name;
            store_.builder.AddItem(folder, Mail("Carol Hughes", subject, April(1 + i % 28, 9, 0)));
            expected[name].insert(subject);
        }
    }
    const auto pst = ExportAll();
    ASSERT_TRUE(pst) << error_;
    ExpectSoundStructure(*pst);
    EXPECT_EQ(SubjectsByFolder(PffExport(*pst), kPffTop, 'I'), expected);
    std::string summary;
    EXPECT_EQ(SubjectsByFolder(Readpst(*pst, summary), kReadpstTop, 'M'), expected) << summary;
}

// The npm reader pst-extractor, which looks for heap headers where files made by the mail
// client have them; skipped where it is not installed (scripts/install-deps.sh --tests).
TEST_F(PstExportTest, TheNpmReaderGivesBackEveryMail) {
    const std::string modules = "NODE_PATH=\"$(npm root -g 2>/dev/null)\" ";
    if (test::RunCommand(modules + "node -e \"require('pst-extractor')\"").status != 0) {
        GTEST_SKIP() << "pst-extractor is not installed";
    }
    std::map<std::string, std::multiset<std::string>> expected;
    for (const int size : {1, 67, 68, 500}) {
        const std::string name = "Folder " + std::to_string(size);
        const auto folder = store_.AddFolder(name);
        for (int i = 0; i < size; ++i) {
            const std::string subject = "Mail " + std::to_string(i) + " of " + name;
            store_.builder.AddItem(folder, Mail("Carol Hughes", subject, April(1 + i % 28, 9, 0)));
            expected[name].insert(subject);
        }
    }
    const auto pst = ExportAll();
    ASSERT_TRUE(pst) << error_;
    const auto script = store_.out / "reader.js";
    std::ofstream(script) << test::kPstExtractorReader;
    const auto run = test::RunShell(modules + "timeout 120 node " + test::Quoted(script.string()) +
                                    " " + test::Quoted(pst->string()));
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_EQ(SubjectsByFolder(test::Lines(run.text), kPffTop, 'I'), expected) << run.text;
}

// The directory export names a folder without a name as the file does.
TEST_F(PstExportTest, AFolderWithoutANameGetsOneInTheDirectoriesToo) {
    store_.builder.AddItem(store_.AddFolder(kBlank), Mail("Ida Nash", "Nameless", April(4, 8, 0)));
    store_.builder.AddItem(store_.AddFolder(kTwoBlanks), Mail("Ida Nash", "Also", April(4, 9, 0)));
    ExportOptions options = PstOnly();
    options.formats.eml = true;
    const auto pst = ExportAll(options);
    ASSERT_TRUE(pst) << error_;
    EXPECT_EQ(test::FileNames(store_.out / "Top of Information Store"),
              (std::vector<std::string>{"(no name)", "(no name) (2)"}));
    EXPECT_EQ(SubjectsByFolder(PffExport(*pst), kPffTop, 'I'),
              (std::map<std::string, std::multiset<std::string>>{{"(no name)", {"Nameless"}},
                                                                 {"(no name) (2)", {"Also"}}}));
}

// A file past the ranges the header's own maps cover: a free map after the 128th range and
// none of the free-page maps the header's own covers up to the 8,192nd; a density list of the
// 119 entries its page holds, of more ranges than that.
TEST(PstFileRulesTest, ALargeFileKeepsItsMapsAndDensityListWhereTheyBelong) {
    constexpr int kItems = 135;
    constexpr uint64_t kPastFirstPageMapsOfEightRanges = 0x4400 + 1025ull * 253952;
    test::TempDir tmp;
    pst::PstMailboxFile file(tmp.path(), nullptr, u"Large");
    ASSERT_TRUE(file.Open()) << file.error();
    const uint32_t inbox = file.AddFolder(pst::PstMailboxFile::TopFolder(), u"Inbox", u"IPF.Note");
    ExportRecord record;
    record.bodyText = std::u16string(1 << 20, u'x');
    for (int i = 0; i < kItems; ++i) {
        record.subject = u"Large " + Utf8ToUtf16(std::to_string(i));
        ASSERT_TRUE(file.AddItem(inbox, record)) << file.error();
    }
    ASSERT_TRUE(file.CloseFolder(inbox)) << file.error();
    const auto pst = file.Commit("Large.pst");
    ASSERT_TRUE(pst) << file.error();
    ASSERT_GT(std::filesystem::file_size(*pst), kPastFirstPageMapsOfEightRanges);
    const std::string verdict = test::RunPython(tmp.path(), test::kPstRuleChecker, {pst->string()});
    EXPECT_EQ(verdict.rfind("ok ", 0), 0u) << verdict;
    EXPECT_NE(verdict.find(" 0 free-page maps"), std::string::npos) << verdict;
}

// The command line on the demo database: every folder kind, read back by both readers.
TEST(PstCommandLineTest, TheDemoMailboxReadsBackInBothReaders) {
    test::TempDir tmp;
    testdb::BuildDemoStore().WriteTo(tmp / "demo.edb");
    const auto out = tmp / "out";
    const auto run = test::RunCli(
        {"export", "--format", "pst", (tmp / "demo.edb").string(), "1", out.string()}, tmp.path());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto lines = test::Lines(run.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), std::string("PST\t") + kPstName + "\t25");
    EXPECT_TRUE(test::FileNames(out) == std::vector<std::string>{kPstName})
        << "only the PST file: no directories for the folders";
    const auto json = test::RunCli(
        {"export", "--json", "--format", "pst", (tmp / "demo.edb").string(), "1", out.string()},
        tmp.path());
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"items\": 25, \"pst\": \"Mailbox - Ann Walker (2).pst\"}"),
              std::string::npos)
        << json.out << "a second export never replaces the first file";

    // Each folder line: the tree path, "." (no directory) and the item count. The mailbox's
    // "Top of Information Store" is the file's "Top of Personal Folders".
    std::vector<std::string> expected;
    const std::string mailboxTop = "Top of Information Store";
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        const auto fields = lines[i];
        const size_t tab = fields.find('\t');
        std::string path = fields.substr(0, tab);
        path = path.substr(path.find('\\') + 1);
        path.pop_back();
        if (path.rfind(mailboxTop, 0) == 0) {
            path.erase(0, mailboxTop.size());
        } else {
            path = "\\" + path;
        }
        expected.push_back("F|Top of Personal Folders" + path + "|" +
                           fields.substr(fields.rfind('\t') + 1));
    }
    const auto target = tmp / "pff";
    const auto pff =
        test::RunCommand("pffexport -q -m all -f text -t " + test::Quoted(target.string()) + " " +
                         test::Quoted((out / kPstName).string()));
    ASSERT_EQ(pff.status, 0) << pff.text;
    std::vector<std::string> folders;
    size_t items = 0;
    for (const auto& line : test::Lines(test::RunPython(tmp.path(), test::kPffExportReader,
                                                        {(tmp / "pff.export").string()}))) {
        if (line.rfind("F|Top of Personal Folders", 0) == 0) {
            folders.push_back(line);
        }
        items += line.rfind("I|", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(Sorted(folders), Sorted(expected));
    EXPECT_EQ(items, 25u);

    std::filesystem::create_directory(tmp / "readpst");
    const auto readpst =
        test::RunCommand("readpst -j 0 -D -S -e -o " + test::Quoted((tmp / "readpst").string()) +
                         " " + test::Quoted((out / kPstName).string()));
    ASSERT_EQ(readpst.status, 0) << readpst.text;
    const auto written = test::Lines(
        test::RunPython(tmp.path(), test::kReadpstReader, {(tmp / "readpst").string()}));
    // Tasks and sticky notes are counted as skipped: readpst writes no file for them.
    EXPECT_EQ(written.size(), 25u - 2u - 2u) << readpst.text;
    EXPECT_NE(readpst.text.find("\"Tasks\" - 0 items done, 2 items skipped."), std::string::npos)
        << readpst.text;
    EXPECT_NE(readpst.text.find("\"Notes\" - 0 items done, 2 items skipped."), std::string::npos)
        << readpst.text;
}

}  // namespace
}  // namespace velmor
