#include <gtest/gtest.h>

#include "cli_runner.h"
#include "command_output.h"
#include "edb_writer/detailed_mail_store.h"
#include "pst_readers.h"
#include "pst_rules.h"
#include "python_reader.h"
#include "temp_dir.h"

namespace velmor {
namespace {

constexpr char kMailbox[] = "Mailbox - Ann Walker";
constexpr char kInbox[] = "Mailbox - Ann Walker\\Top of Information Store\\Inbox\\";
constexpr char kSent[] = "Mailbox - Ann Walker\\Top of Information Store\\Sent Items\\";
constexpr char kPstName[] = "Mailbox - Ann Walker.pst";
// "Борис Петров", "Дмитрий Орлов"
const std::string kBoris =
    "\xD0\x91\xD0\xBE\xD1\x80\xD0\xB8\xD1\x81 "
    "\xD0\x9F\xD0\xB5\xD1\x82\xD1\x80\xD0\xBE\xD0\xB2";
const std::string kDmitri =
    "\xD0\x94\xD0\xBC\xD0\xB8\xD1\x82\xD1\x80\xD0\xB8\xD0\xB9 "
    "\xD0\x9E\xD1\x80\xD0\xBB\xD0\xBE\xD0\xB2";
const std::string kEmmaDn = "/O=EXAMPLE/OU=FIRST ADMINISTRATIVE GROUP/CN=RECIPIENTS/CN=EMMA";

// Each exported mail as Python's email package reads it, one line per mail sorted by subject:
// subject, From, To, Cc, Bcc, Reply-To (each address "name<address>"), Date, Message-ID,
// In-Reply-To, References, Importance, X-Priority, Status, the mbox envelope sender and the
// count of defects found in the message and its headers.
constexpr char kMailReader[] = R"(
import sys, os, email, email.policy, mailbox
def addresses(msg, name):
    header = msg[name]
    if header is None:
        return '-'
    return ','.join(a.display_name + '<' + a.addr_spec + '>' for a in header.addresses)
def line(kind, msg, envelope):
    defects = len(msg.defects) + sum(len(msg[k].defects) for k in msg.keys())
    values = [kind, str(msg['Subject'])] + [addresses(msg, h) for h in
              ['From', 'To', 'Cc', 'Bcc', 'Reply-To']]
    values += [str(msg[h]) if msg[h] is not None else '-' for h in
               ['Date', 'Message-ID', 'In-Reply-To', 'References', 'Importance', 'X-Priority',
                'Status']]
    return '|'.join(values + [envelope, str(defects)])
lines = []
for folder, dirs, files in os.walk(sys.argv[1]):
    for name in files:
        path = os.path.join(folder, name)
        if name.endswith('.eml'):
            with open(path, 'rb') as f:
                lines.append(line('eml', email.message_from_binary_file(
                    f, policy=email.policy.default), '-'))
        elif name.endswith('.mbox'):
            for raw in mailbox.mbox(path):
                msg = email.message_from_bytes(raw.as_bytes(), policy=email.policy.default)
                lines.append(line('mbox', msg, raw.get_from().split(' ')[0]))
for l in sorted(lines):
    print(l)
)";

// pffexport's view of each item: subject, the header fields the test looks at, the first
// line of the Internet headers and the recipients as "type:name<address>address-type".
constexpr char kPffDetailsReader[] = R"(
import sys, os, re
KEY = re.compile(r'^([A-Za-z0-9 -]+):\t+(.*)$')
FIELDS = ['Sender email address', 'Sent representing email address', 'Importance', 'Flags',
          'Sensitivity']
def fields(path):
    values = {}
    with open(path, encoding='utf-8') as f:
        for l in f:
            m = KEY.match(l.rstrip('\n'))
            if m and m.group(1) not in values:
                values[m.group(1)] = m.group(2).strip()
    return values
def recipients(path):
    if not os.path.exists(path):
        return []
    result, entry = [], {}
    with open(path, encoding='utf-8') as f:
        for l in f:
            m = KEY.match(l.rstrip('\n'))
            if m:
                if m.group(1) in entry:
                    result.append(entry)
                    entry = {}
                entry[m.group(1)] = m.group(2).strip()
    if entry:
        result.append(entry)
    return [r.get('Recipient type', '') + ':' + r.get('Display name', '') + '<' +
            r.get('Email address', '') + '>' + r.get('Address type', '') for r in result]
def first_header(path):
    if not os.path.exists(path):
        return ''
    with open(path, encoding='utf-8') as f:
        return f.readline().rstrip('\r\n')
lines = []
for folder, dirs, files in os.walk(sys.argv[1]):
    if 'OutlookHeaders.txt' in files:
        v = fields(os.path.join(folder, 'OutlookHeaders.txt'))
        lines.append('|'.join([v.get('Subject', '')] + [k + '=' + v.get(k, '') for k in FIELDS] +
                              [first_header(os.path.join(folder, 'InternetHeaders.txt'))] +
                              recipients(os.path.join(folder, 'Recipients.txt'))))
for l in sorted(lines):
    print(l)
)";

class MessageDetailsTest : public testing::Test {
protected:
    void SetUp() override { testdb::BuildDetailedMailStore().WriteTo(tmp_ / "store.edb"); }

    std::string Store() const { return (tmp_ / "store.edb").string(); }

    std::string Message(const char* folder, int row, bool json) {
        std::vector<std::string> arguments = {"message"};
        if (json) {
            arguments.push_back("--json");
        }
        for (const std::string& argument :
             {Store(), std::string("1"), std::string(folder), std::to_string(row)}) {
            arguments.push_back(argument);
        }
        const auto run = test::RunCli(arguments, tmp_.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return run.out;
    }

    std::filesystem::path Export(const std::string& formats) {
        const auto out = tmp_ / ("out-" + formats);
        const auto run =
            test::RunCli({"export", "--format", formats, Store(), "1", out.string()}, tmp_.path());
        EXPECT_EQ(run.exitCode, 0) << run.err;
        return out;
    }

    test::TempDir tmp_;
};

// The rows of the inbox in list order: the received mail with its headers, the reply with
// stored fields only, the mail from an "EX" sender with damaged flags.
TEST_F(MessageDetailsTest, MessageCommandGivesEveryFieldEachOnItsOwn) {
    const std::string received = Message(kInbox, 1, true);
    // The headers give From, To, Cc and Reply-To exactly, not the stored address.
    EXPECT_NE(
        received.find("\"from\": {\"name\": \"Carol Hughes\", \"address\": "
                      "\"carol.hughes@example.com\", \"addressType\": \"SMTP\"}, "
                      "\"to\": [{\"name\": \"Ann Walker\", \"address\": "
                      "\"ann.walker@example.org\"}, {\"name\": \"" +
                      kBoris +
                      "\", \"address\": \"boris@example.ru\"}], \"cc\": [{\"name\": "
                      "\"Dmitri Orlov\", \"address\": \"dmitri@example.ru\"}, {\"name\": \"\", "
                      "\"address\": \"audit@example.com\"}], \"bcc\": [], "
                      "\"replyTo\": [{\"name\": \"Budget Team\", \"address\": "
                      "\"budget@example.com\"}], \"subject\": \"Budget\""),
        std::string::npos)
        << received;
    EXPECT_NE(received.find("\"messageId\": \"<budget-1@example.com>\", \"inReplyTo\": null, "
                            "\"references\": null, \"importance\": \"high\", \"sensitivity\": "
                            "null, \"read\": false, \"hasAttachments\": false, \"size\": 12345, "
                            "\"internetHeaders\": \"Received: from mx.example.com"),
              std::string::npos)
        << received;

    const std::string stored = Message(kInbox, 2, true);
    EXPECT_NE(stored.find("\"from\": {\"name\": \"" + kBoris +
                          "\", \"address\": \"boris@example.ru\", \"addressType\": \"SMTP\"}, "
                          "\"to\": [{\"name\": \"Ann Walker\", \"address\": null}], \"cc\": "
                          "[{\"name\": \"Carol Hughes\", \"address\": null}, {\"name\": \"" +
                          kDmitri + "\", \"address\": null}], \"bcc\": [], \"replyTo\": []"),
              std::string::npos)
        << stored;
    EXPECT_NE(stored.find("\"messageId\": \"<boris-2@example.ru>\", \"inReplyTo\": "
                          "\"<budget-1@example.com>\", \"references\": \"<budget-1@example.com>\", "
                          "\"importance\": \"low\", \"sensitivity\": \"private\", \"read\": true, "
                          "\"hasAttachments\": true, \"size\": 2048, \"internetHeaders\": null"),
              std::string::npos)
        << stored;

    // The damaged flags leave read state and attachments unknown, and nothing else.
    const std::string exchange = Message(kInbox, 3, true);
    EXPECT_NE(exchange.find("\"from\": {\"name\": \"Emma Fisher\", \"address\": \"" + kEmmaDn +
                            "\", \"addressType\": \"EX\"}"),
              std::string::npos)
        << exchange;
    EXPECT_NE(exchange.find("\"importance\": \"normal\", \"sensitivity\": null, \"read\": null, "
                            "\"hasAttachments\": null, \"size\": null"),
              std::string::npos)
        << exchange;

    const std::string sent = Message(kSent, 1, false);
    EXPECT_NE(sent.find("From: Ann Walker <ann.walker@example.org>\nTo: Carol Hughes\n"),
              std::string::npos)
        << sent;
    for (const char* line : {"\nBcc: Frank Norris\n", "\nImportance: high\n",
                             "\nSensitivity: confidential\n", "\nRead: yes\n"}) {
        EXPECT_NE(sent.find(line), std::string::npos) << line << sent;
    }
    const std::string plainExchange = Message(kInbox, 3, false);
    EXPECT_NE(plainExchange.find("From: Emma Fisher [EX: " + kEmmaDn + "]\n"), std::string::npos)
        << plainExchange;
    EXPECT_EQ(plainExchange.find("\nRead:"), std::string::npos) << plainExchange;
}

// Python's email package reads every address of every exported mail, without a defect: the
// original headers where the mail has them, the stored fields elsewhere.
TEST_F(MessageDetailsTest, EmlAndMboxCarryTheOriginalHeadersOrTheStoredFields) {
    const auto out = Export("eml,mbox");
    const auto lines = test::Lines(test::RunPython(tmp_.path(), kMailReader, {out.string()}));
    const std::string unknown = "<unknown@velmor.invalid>";
    const std::string received =
        "|Budget|Carol Hughes<carol.hughes@example.com>|Ann Walker<ann.walker@example.org>," +
        kBoris +
        "<boris@example.ru>|Dmitri Orlov<dmitri@example.ru>,<audit@example.com>|-|Budget "
        "Team<budget@example.com>|"
        "Tue, 10 Apr 2007 15:39:00 +0200|<budget-1@example.com>|-|-|-|-|";
    const std::string reply = "|RE: Budget|" + kBoris + "<boris@example.ru>|Ann Walker" + unknown +
                              "|Carol Hughes" + unknown + "," + kDmitri + unknown +
                              "|-|-|Wed, 11 Apr 2007 13:39:00 +0000|<boris-2@example.ru>|"
                              "<budget-1@example.com>|<budget-1@example.com>|low|5|";
    const std::string exchange =
        "|Org chart|Emma Fisher" + unknown + "|-|-|-|-|Thu, 12 Apr 2007 13:39:00 +0000|";
    const std::string salaries = "|Salaries|Ann Walker<ann.walker@example.org>|Carol Hughes" +
                                 unknown + "|-|Frank Norris" + unknown +
                                 "|-|Fri, 13 Apr 2007 13:39:00 +0000|";
    ASSERT_EQ(lines.size(), 8u) << test::RunPython(tmp_.path(), kMailReader, {out.string()});
    // Sorted by format and subject: Budget, Org chart, RE: Budget, Salaries.
    EXPECT_EQ(lines[0], "eml" + received + "-|-|0");
    EXPECT_EQ(lines[1].rfind("eml" + exchange, 0), 0u) << lines[1];
    EXPECT_TRUE(lines[1].ends_with("|normal|3|-|-|0")) << lines[1];
    EXPECT_EQ(lines[2], "eml" + reply + "-|-|0");
    EXPECT_EQ(lines[3].rfind("eml" + salaries, 0), 0u) << lines[3];
    // An unread mail, or one whose state is unknown, has no Status line, a read one "RO";
    // the envelope takes the sender's e-mail address.
    EXPECT_EQ(lines[4], "mbox" + received + "-|carol.hughes@example.com|0");
    EXPECT_TRUE(lines[5].ends_with("|normal|3|-|MAILER-DAEMON|0")) << lines[5];
    EXPECT_EQ(lines[6], "mbox" + reply + "RO|boris@example.ru|0");
    EXPECT_TRUE(lines[7].ends_with("|high|1|RO|ann.walker@example.org|0")) << lines[7];
}

// Both readers find the sender addresses, recipients by type, importance and read state.
TEST_F(MessageDetailsTest, PstCarriesAddressesRecipientsImportanceAndReadState) {
    const auto out = Export("pst");
    const auto pst = out / kPstName;
    ASSERT_TRUE(std::filesystem::exists(pst));
    for (const char* checker : {test::kPstStructureChecker, test::kPstRuleChecker}) {
        const std::string verdict = test::RunPython(tmp_.path(), checker, {pst.string()});
        EXPECT_EQ(verdict.rfind("ok ", 0), 0u) << verdict;
    }

    const auto target = tmp_ / "pff";
    const auto pff =
        test::RunCommand("pffexport -q -m all -f text -t " + test::Quoted(target.string()) + " " +
                         test::Quoted(pst.string()));
    ASSERT_EQ(pff.status, 0) << pff.text;
    const std::string items =
        test::RunPython(tmp_.path(), kPffDetailsReader, {(tmp_ / "pff.export").string()});
    const auto lines = test::Lines(items);
    const std::string fields = "|Sender email address=";
    EXPECT_EQ(lines,
              (std::vector<std::string>{
                  "Budget" + fields +
                      "carol.hughes@example.com|Sent representing email "
                      "address=carol.hughes@example.com|Importance=High|Flags=0x00000000 "
                      "(Unread)|Sensitivity=None|Received: from mx.example.com by "
                      "mail.example.org; Tue, 10 Apr 2007 13:39:05 +0000|"
                      "To:Ann Walker<ann.walker@example.org>SMTP|To:" +
                      kBoris +
                      "<boris@example.ru>SMTP|CC:Dmitri Orlov<dmitri@example.ru>SMTP|"
                      "CC:audit@example.com<audit@example.com>SMTP",
                  "Org chart" + fields + kEmmaDn + "|Sent representing email address=" + kEmmaDn +
                      "|Importance=Normal|Flags=0x00000001 (Read)|"
                      "Sensitivity=None|",
                  "RE: Budget" + fields +
                      "boris@example.ru|Sent representing email "
                      "address=boris@example.ru|Importance=Low|Flags=0x00000001 (Read)|"
                      "Sensitivity=Private||To:Ann Walker<>|CC:Carol Hughes<>|CC:" +
                      kDmitri + "<>",
                  "Salaries" + fields +
                      "ann.walker@example.org|Sent representing email "
                      "address=ann.walker@example.org|Importance=High|Flags=0x00000001 "
                      "(Read)|Sensitivity=Confidential||To:Carol Hughes<>|BCC:Frank "
                      "Norris<>"}))
        << items;

    // readpst writes the stored Internet headers of the received mail: the same From, To, Cc,
    // Reply-To, Date and Message-ID as the EML export; its read state is the Status line.
    std::filesystem::create_directory(tmp_ / "readpst");
    const auto readpst =
        test::RunCommand("readpst -j 0 -D -S -e -o " + test::Quoted((tmp_ / "readpst").string()) +
                         " " + test::Quoted(pst.string()));
    ASSERT_EQ(readpst.status, 0) << readpst.text;
    const auto mails =
        test::Lines(test::RunPython(tmp_.path(), kMailReader, {(tmp_ / "readpst").string()}));
    ASSERT_EQ(mails.size(), 4u);
    EXPECT_EQ(
        mails[0],
        "eml|Budget|Carol Hughes<carol.hughes@example.com>|Ann Walker<ann.walker@example.org>," +
            kBoris +
            "<boris@example.ru>|Dmitri Orlov<dmitri@example.ru>,<audit@example.com>|-|Budget "
            "Team<budget@example.com>|Tue, 10 Apr 2007 15:39:00 +0200|"
            "<budget-1@example.com>|-|-|-|-|-|-|0");
    EXPECT_EQ(mails[2].rfind("eml|RE: Budget|" + kBoris + "<boris@example.ru>|", 0), 0u)
        << mails[2];
    EXPECT_NE(mails[2].find("|<boris-2@example.ru>|"), std::string::npos) << mails[2];
    EXPECT_NE(mails[2].find("|RO|"), std::string::npos) << mails[2];
}

}  // namespace
}  // namespace velmor
