#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "command_output.h"
#include "edb_writer/file_time.h"
#include "edb_writer/store_builder.h"
#include "pst_readers.h"
#include "python_reader.h"

namespace velmor {
namespace {

using test::RunCli;
using testdb::TextEncoding;

// Every mail file below a directory, read with Python's email package: per message the From
// name, Subject and the text body, in file name order.
constexpr char kMailReader[] = R"(
import sys, os, email, email.policy, email.utils, mailbox
files = []
for folder, dirs, names in os.walk(sys.argv[1]):
    files += [os.path.join(folder, n) for n in names if n.endswith(('.eml', '.mbox'))]
for path in sorted(files):
    if path.endswith('.eml'):
        messages = [email.message_from_binary_file(open(path, 'rb'), policy=email.policy.default)]
    else:
        messages = [email.message_from_bytes(m.as_bytes(), policy=email.policy.default)
                    for m in mailbox.mbox(path)]
    for msg in messages:
        name, _ = email.utils.parseaddr(str(msg['From'] or ''))
        body = msg.get_body(('plain',))
        text = body.get_content().strip() if body else ''
        print(path.rsplit('.', 1)[-1] + '|' + name + '|' + str(msg['Subject']) + '|' + text)
)";

struct StoreTexts {
    std::string mailbox;
    std::string top;
    std::string inbox;
    std::string other;
    std::string subject;
    std::string sender;
    std::string body;
    std::string otherSubject;
    std::string otherSender;
    std::string otherBody;
};

// Names that start above U+00FF in four scripts, and a curly quote first.
const StoreTexts kUnicodeTexts = {"Иван Петров",
                                  "Ελληνικά",
                                  "受信トレイ",
                                  "البريد الوارد",
                                  "\u201CThanks\u201D 会議の議事録",
                                  "Γιώργος Παπαδόπουλος",
                                  "Привет! Ελληνικά, 日本語, العربية.",
                                  "مرحبا بالعالم",
                                  "أحمد علي",
                                  "نص الرسالة"};

// A Russian server's store: 8-bit names in Windows-1251.
const StoreTexts kCyrillicTexts = {"Иван Петров",
                                   "Корень",
                                   "Входящие",
                                   "Отправленные",
                                   "Отчёт за квартал",
                                   "Сергей Иванов",
                                   "Добрый день, коллеги",
                                   "Повестка совещания",
                                   "Мария Соколова",
                                   "Встреча переносится на пятницу"};

class MultilingualStoreTest : public testing::Test {
protected:
    std::string Write(const StoreTexts& texts, TextEncoding encoding) {
        testdb::StoreBuilder builder;
        testdb::Mailbox mailbox;
        mailbox.name = texts.mailbox;
        mailbox.encoding = encoding;
        const auto top = AddFolder(builder, builder.AddMailbox(mailbox), texts.top, "", encoding);
        const auto inbox = AddFolder(builder, top, texts.inbox, "IPF.Note", encoding);
        const auto other = AddFolder(builder, top, texts.other, "IPF.Note", encoding);
        builder.AddItem(inbox, Mail(texts.subject, texts.sender, texts.body, encoding));
        builder.AddItem(other,
                        Mail(texts.otherSubject, texts.otherSender, texts.otherBody, encoding));
        builder.WriteTo(tmp_ / "store.edb");
        return (tmp_ / "store.edb").string();
    }

    static testdb::EntryId AddFolder(testdb::StoreBuilder& builder, const testdb::EntryId& parent,
                                     const std::string& name, const char* containerClass,
                                     TextEncoding encoding) {
        testdb::Folder folder;
        folder.parent = parent;
        folder.name = name;
        folder.containerClass = containerClass;
        folder.encoding = encoding;
        return builder.AddFolder(folder);
    }

    static testdb::Item Mail(const std::string& subject, const std::string& sender,
                             const std::string& body, TextEncoding encoding) {
        testdb::Item item;
        item.subject = subject;
        item.sender = sender;
        item.time = testdb::FileTimeFromUtc(2009, 3, 2, 8, 15, 0);
        item.content.text = body;
        item.encoding = encoding;
        return item;
    }

    // Runs the command and expects it to succeed.
    std::string Cli(std::vector<std::string> arguments) {
        const auto result = RunCli(arguments, tmp_.path());
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return result.out;
    }

    // Lists, shows and exports the store with the extra options and checks every text.
    void ExpectEveryTextExact(const std::string& file, const StoreTexts& texts, int codePage,
                              const std::vector<std::string>& options) {
        auto with = [&](std::vector<std::string> arguments) {
            arguments.insert(arguments.begin() + 1, options.begin(), options.end());
            return Cli(arguments);
        };
        const std::string root = "Mailbox - " + texts.mailbox;
        EXPECT_EQ(with({"mailboxes", "--json", file}),
                  "{\"mailboxes\": [{\"no\": 1, \"name\": \"" + root +
                      "\", \"key\": \"0100000000100001\"}], \"unreadablePages\": 0, "
                      "\"codePage\": " +
                      std::to_string(codePage) + "}\n");
        const std::string inbox = root + "\\" + texts.top + "\\" + texts.inbox + "\\";
        const std::string other = root + "\\" + texts.top + "\\" + texts.other + "\\";
        const std::string folders = with({"folders", file, "1"});
        EXPECT_NE(folders.find(inbox + "\t"), std::string::npos) << folders;
        EXPECT_NE(folders.find(other + "\t"), std::string::npos) << folders;

        const std::string items = with({"items", "--json", file, "1", inbox});
        EXPECT_NE(items.find("\"" + texts.subject + "\""), std::string::npos) << items;
        EXPECT_NE(items.find("\"" + texts.sender + "\""), std::string::npos) << items;
        const std::string message = with({"message", file, "1", other, "1"});
        EXPECT_NE(message.find("From: " + texts.otherSender + "\n"), std::string::npos) << message;
        EXPECT_NE(message.find("Subject: " + texts.otherSubject + "\n"), std::string::npos);
        EXPECT_TRUE(message.ends_with("\n\n" + texts.otherBody + "\n")) << message;

        const auto out = tmp_ / "out";
        std::filesystem::remove_all(out);
        with({"export", "--format", "eml,mbox,pst", file, "1", out.string()});
        const auto mails = test::Lines(test::RunPython(tmp_.path(), kMailReader, {out.string()}));
        const std::string first = "|" + texts.sender + "|" + texts.subject + "|" + texts.body;
        const std::string second =
            "|" + texts.otherSender + "|" + texts.otherSubject + "|" + texts.otherBody;
        std::vector<std::string> sorted = mails;
        std::sort(sorted.begin(), sorted.end());
        std::vector<std::string> expected = {"eml" + first, "eml" + second, "mbox" + first,
                                             "mbox" + second};
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(sorted, expected);

        std::string pst;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(out)) {
            if (entry.path().extension() == ".pst") {
                pst = entry.path().string();
            }
        }
        ASSERT_FALSE(pst.empty());
        // readpst, since pffexport drops the first character of such subjects.
        const auto target = tmp_ / "readpst";
        std::filesystem::remove_all(target);
        std::filesystem::create_directory(target);
        const auto run = test::RunCommand("readpst -j 0 -D -S -e -o " +
                                          test::Quoted(target.string()) + " " + test::Quoted(pst));
        ASSERT_EQ(run.status, 0) << run.text;
        const std::string read =
            test::RunPython(tmp_.path(), test::kReadpstReader, {target.string()});
        EXPECT_NE(read.find(texts.top + "\\" + texts.inbox + "|" + texts.subject + "|" +
                            texts.sender + "|"),
                  std::string::npos)
            << read;
        EXPECT_NE(read.find(texts.top + "\\" + texts.other + "|" + texts.otherSubject + "|" +
                            texts.otherSender + "|"),
                  std::string::npos)
            << read;
        EXPECT_NE(read.find(texts.otherBody), std::string::npos) << read;
    }

    test::TempDir tmp_;
};

TEST_F(MultilingualStoreTest, UnicodeNamesAndBodiesOfEveryScriptAreListedShownAndExported) {
    const std::string file = Write(kUnicodeTexts, TextEncoding::Utf16);
    ExpectEveryTextExact(file, kUnicodeTexts, 1252, {});
}

TEST_F(MultilingualStoreTest, EightBitCyrillicNamesReadRightByDetectionAndByChoice) {
    const std::string file = Write(kCyrillicTexts, TextEncoding::Ansi1251);
    ExpectEveryTextExact(file, kCyrillicTexts, 1251, {});
    ExpectEveryTextExact(file, kCyrillicTexts, 1251, {"--code-page", "1251"});
    // The choice wins over the detection.
    EXPECT_EQ(Cli({"mailboxes", "--code-page", "1252", file}),
              "1\tMailbox - \xC3\x88\xC3\xA2\xC3\xA0\xC3\xAD \xC3\x8F\xC3\xA5\xC3\xB2\xC3\xB0"
              "\xC3\xAE\xC3\xA2\t0100000000100001\n");
    EXPECT_EQ(RunCli({"mailboxes", "--code-page", "77777", file}, tmp_.path()).exitCode, 2);
}

}  // namespace
}  // namespace velmor
