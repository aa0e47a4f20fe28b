#include <gmime/gmime.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fcntl.h>

#include <ctime>
#include <fstream>
#include <sstream>

#include "export/csv_writer.h"
#include "export/eml_writer.h"
#include "export/mbox_writer.h"
#include "export/mime_message.h"
#include "export_test_store.h"
#include "file_contents.h"
#include "python_reader.h"

namespace velmor {
namespace {

using test::April;
using test::ExportTestStore;
using test::Mail;
using testdb::Item;

// Each message of the EML files named, read with Python's email package: file, From as
// parseaddr gives it, the To names, Subject, Date, Message-ID, item id, marker.
constexpr char kEmailReader[] = R"(
import sys, email, email.policy, email.utils
for path in sys.argv[1:]:
    with open(path, 'rb') as f:
        msg = email.message_from_binary_file(f, policy=email.policy.default)
    name, address = email.utils.parseaddr(str(msg['From'] or ''))
    to = [a.display_name for a in msg['To'].addresses] if msg['To'] else []
    date = msg['Date'].datetime.isoformat() if msg['Date'] else '-'
    print('|'.join([path.rsplit('/', 1)[-1], name + '<' + address + '>', ','.join(to),
                    repr(str(msg['Subject'])), date, str(msg['Message-ID']),
                    str(msg['X-Velmor-Item-Id']), str(msg['X-Velmor-Marker'])]))
)";

// The messages of an mbox file as Python's mailbox module reads them: Subject and item id.
constexpr char kMboxReader[] = R"(
import sys, mailbox, email.header
for msg in mailbox.mbox(sys.argv[1]):
    subject = str(email.header.make_header(email.header.decode_header(msg['Subject'])))
    print(repr(subject) + '|' + msg['X-Velmor-Item-Id'] + '|' + msg.get_from())
)";

ExportOptions WithMbox() {
    ExportOptions options;
    options.formats.mbox = true;
    return options;
}

class ExportMailTest : public testing::Test {
protected:
    ExportTestStore store_;
};

TEST_F(ExportMailTest, EmlAndMboxCarryEveryListedRowWithItsHeaders) {
    const auto inbox = store_.AddFolder("Inbox");
    Item reply = Mail("Carol Hughes", "Budget", April(10, 13, 39));
    reply.subjectPrefix = "RE: ";
    store_.builder.AddItem(inbox, reply);
    store_.builder.AddItem(inbox, Mail("Hughes, Carol", "Tab\there", April(10, 14, 0)));
    Item flagged = Mail("D\xC3\xA9sir\xC3\xA9 Moore", "Na\xC3\xAFve \xE2\x80\x94 caf\xC3\xA9",
                        April(11, 8, 5));
    flagged.flagged = true;
    store_.builder.AddItem(inbox, flagged);
    Item first = Mail("Emma Fisher", "Old copy", April(12, 9, 0));
    first.id = store_.builder.AddItem(inbox, first);
    Item later = Mail("Emma Fisher", "New copy", April(12, 9, 1));
    later.id = first.id;
    store_.builder.AddItem(inbox, later);
    store_.builder.AddItem(inbox, Mail("Frank Norris", "No time", ~0ull));

    const auto listing = store_.Listing("Inbox");
    ASSERT_EQ(listing.size(), 5u) << "equal item ids give one row";
    const time_t exportStart = std::time(nullptr);
    const auto result = store_.Export("Inbox", WithMbox());
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(result.items, 5u);
    EXPECT_EQ(result.directory, store_.out.path() / ExportTestStore::kTop / "Inbox");
    EXPECT_EQ(test::FileNames(result.directory),
              (std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml", "00004.eml",
                                        "00005.eml", "folder.mbox", "items.csv"}));

    std::vector<std::string> paths;
    for (int row = 1; row <= 5; ++row) {
        paths.push_back((result.directory / EmlFileName(row)).string());
    }
    const auto read = test::Lines(test::RunPython(store_.out.path(), kEmailReader, paths));
    ASSERT_EQ(read.size(), 5u);
    auto id = [&](size_t row) { return Utf16ToUtf8(listing[row].itemId); };
    EXPECT_EQ(
        read[0],
        "00001.eml|Carol Hughes<unknown@velmor.invalid>||'RE: Budget'|2007-04-10T13:39:00+00:00|<" +
            id(0) + "@velmor.invalid>|" + id(0) + "|None");
    EXPECT_EQ(read[1],
              "00002.eml|Hughes, "
              "Carol<unknown@velmor.invalid>||'Tab\\there'|2007-04-10T14:00:00+00:00|<" +
                  id(1) + "@velmor.invalid>|" + id(1) + "|None")
        << "a comma in the name and a tab in the subject survive";
    EXPECT_EQ(
        read[2],
        "00003.eml|D\xC3\xA9sir\xC3\xA9 Moore<unknown@velmor.invalid>||'Na\xC3\xAFve \xE2\x80\x94 "
        "caf\xC3\xA9'|2007-04-11T08:05:00+00:00|<" +
            id(2) + "@velmor.invalid>|" + id(2) + "|1");
    EXPECT_EQ(
        read[3],
        "00004.eml|Emma Fisher<unknown@velmor.invalid>||'New copy'|2007-04-12T09:01:00+00:00|<" +
            id(3) + "@velmor.invalid>|" + id(3) + "|None")
        << "the later of equal item ids";
    EXPECT_EQ(read[4], "00005.eml|Frank Norris<unknown@velmor.invalid>||'No time'|-|<" + id(4) +
                           "@velmor.invalid>|" + id(4) + "|None")
        << "no Date without a valid time";

    const auto mbox = test::Lines(test::RunPython(store_.out.path(), kMboxReader,
                                                  {(result.directory / kMboxFileName).string()}));
    ASSERT_EQ(mbox.size(), 5u);
    EXPECT_EQ(mbox[0], "'RE: Budget'|" + id(0) + "|MAILER-DAEMON Tue Apr 10 13:39:00 2007");
    // A mail without a time has the export's time on its envelope line.
    const std::string prefix = "'No time'|" + id(4) + "|MAILER-DAEMON ";
    ASSERT_TRUE(mbox[4].starts_with(prefix)) << mbox[4];
    std::tm envelope{};
    ASSERT_NE(strptime(mbox[4].c_str() + prefix.size(), "%a %b %e %H:%M:%S %Y", &envelope),
              nullptr);
    const time_t envelopeTime = timegm(&envelope);
    EXPECT_LE(exportStart, envelopeTime);
    EXPECT_LE(envelopeTime, std::time(nullptr));
}

TEST_F(ExportMailTest, SentItemsPutTheRecipientsInToAndGMimeReadsTheSameHeaders) {
    const auto sent = store_.AddFolder("Sent Items");
    Item mail = Mail("Ann Walker", "Figures", April(10, 14, 2));
    mail.recipients = {{"Carol Hughes"},
                       {"D\xC3\xA9sir\xC3\xA9 Moore", testdb::TextEncoding::Ansi}};
    store_.builder.AddItem(sent, mail);

    const auto result = store_.Export("Sent Items", {});
    ASSERT_TRUE(result.ok()) << result.error;
    ASSERT_EQ(result.items, 1u);
    const auto file = result.directory / "00001.eml";
    const auto read = test::Lines(test::RunPython(store_.out.path(), kEmailReader, {file}));
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(
        read[0].substr(0, read[0].find("|'")),
        "00001.eml|Ann Walker<unknown@velmor.invalid>|Carol Hughes,D\xC3\xA9sir\xC3\xA9 Moore")
        << "a sent mail has its stored sender as From";

    g_mime_init();
    GMimeStream* stream = g_mime_stream_fs_open(file.c_str(), O_RDONLY, 0, nullptr);
    ASSERT_NE(stream, nullptr);
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    ASSERT_NE(message, nullptr);
    EXPECT_STREQ(g_mime_message_get_subject(message), "Figures");
    auto names = [&](GMimeAddressType type) {
        InternetAddressList* list = g_mime_message_get_addresses(message, type);
        std::string text;
        for (int i = 0; i < internet_address_list_length(list); ++i) {
            InternetAddress* address = internet_address_list_get_address(list, i);
            text += std::string(i > 0 ? "|" : "") + internet_address_get_name(address) + " <" +
                    internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address)) + ">";
        }
        return text;
    };
    EXPECT_EQ(names(GMIME_ADDRESS_TYPE_FROM), "Ann Walker <unknown@velmor.invalid>");
    EXPECT_EQ(names(GMIME_ADDRESS_TYPE_TO),
              "Carol Hughes <unknown@velmor.invalid>|D\xC3\xA9sir\xC3\xA9 Moore "
              "<unknown@velmor.invalid>");
    GDateTime* date = g_mime_message_get_date(message);
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(g_date_time_to_unix(date), 1176213720);
    g_object_unref(message);
    g_object_unref(parser);
    g_object_unref(stream);
}

// Every message as Python's email package reads it under policy.default: its defects (of the
// message, its parts and its headers), whether a line exceeds 998 octets, From and To, the
// subject's length and the text body with its line breaks.
constexpr char kDefectReader[] = R"(
import sys, re, email, email.policy
for path in sys.argv[1:]:
    raw = open(path, 'rb').read()
    msg = email.message_from_bytes(raw, policy=email.policy.default)
    defects = [d for part in msg.walk() for d in part.defects]
    for part in msg.walk():
        for name, value in part.items():
            defects += [repr(d) for d in getattr(value, 'defects', ())]
    longest = max(len(line) for line in re.split(rb'\r\n|\n', raw))
    addresses = lambda h: ';'.join(a.display_name + '<' + a.addr_spec + '>'
                                   for a in msg[h].addresses) if msg[h] else '-'
    text = msg.get_body(('plain',))
    print('|'.join([path.rsplit('/', 1)[-1], repr(defects), 'long' if longest > 998 else 'short',
                    addresses('From'), addresses('To'), str(len(str(msg['Subject']))),
                    repr(text.get_content()[-12:]) if text else '-']))
)";

// Mails of every mail folder kind, with names holding line breaks and commas, long lines and
// a bare CR, read back without a defect, each with a From.
TEST_F(ExportMailTest, EveryMessageHasAFromShortLinesAndNoDefect) {
    const auto inbox = store_.AddFolder("Inbox");
    Item awkward = Mail("Carol\r\nHughes\tSales", std::string(1500, 'y'), April(10, 9, 0));
    awkward.content.text = std::string(3000, 'x') + "\nbare\rCR\r\nend";
    awkward.content.html = "<p>" + std::string(2000, 'h') + "</p>";
    store_.builder.AddItem(inbox, awkward);
    store_.builder.AddItem(inbox, Mail("", "Nobody", April(10, 9, 1)));
    Item sentMail = Mail("", "Figures", April(10, 9, 2));
    sentMail.recipients = {{"Doe, John"}, {"Carol Hughes"}};
    store_.builder.AddItem(store_.AddFolder("Sent Items"), sentMail);
    Item queued = Mail("", "Queued", April(10, 9, 3));
    queued.recipients = {{"Emma Fisher"}};
    store_.builder.AddItem(store_.AddFolder("Outbox"), queued);

    ExportOptions options = WithMbox();
    options.formats.csv = true;
    std::vector<std::string> paths;
    std::filesystem::path sentDirectory;
    for (const char* folder : {"Inbox", "Sent Items", "Outbox"}) {
        const auto result = store_.Export(folder, options);
        ASSERT_TRUE(result.ok()) << result.error;
        if (std::string(folder) == "Sent Items") {
            sentDirectory = result.directory;
        }
        for (const std::string& file : result.files) {
            if (file.ends_with(".eml")) {
                paths.push_back((result.directory / file).string());
            }
        }
    }
    const auto read = test::Lines(test::RunPython(store_.out.path(), kDefectReader, paths));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0],
              "00001.eml|[]|short|Carol Hughes Sales<unknown@velmor.invalid>|-|1500|"
              "'are\\r\\nCR\\r\\nend'")
        << "line breaks in a name become blanks, a bare CR a line break";
    EXPECT_EQ(read[1], "00002.eml|[]|short|<unknown@velmor.invalid>|-|6|''");
    EXPECT_EQ(read[2],
              "00001.eml|[]|short|Ann Walker<unknown@velmor.invalid>|"
              "Doe, John<unknown@velmor.invalid>;Carol Hughes<unknown@velmor.invalid>|7|''")
        << "a sent mail is from the mailbox owner; a comma stays inside its name";
    EXPECT_EQ(read[3],
              "00001.eml|[]|short|Ann Walker<unknown@velmor.invalid>|"
              "Emma Fisher<unknown@velmor.invalid>|6|''");

    const std::string csv = test::ReadFile(sentDirectory / kCsvFileName);
    EXPECT_NE(csv.find(",\"Doe, John; Carol Hughes\","), std::string::npos)
        << "the recipients' cell keeps each name whole: " << csv;
}

TEST_F(ExportMailTest, AnEmptyMailFolderGetsAnEmptyMbox) {
    store_.AddFolder("Archive");
    const auto result = store_.Export("Archive", WithMbox());
    ASSERT_TRUE(result.ok()) << result.error;
    EXPECT_EQ(test::FileNames(result.directory),
              (std::vector<std::string>{"folder.mbox", "items.csv"}));
    EXPECT_EQ(test::ReadFile(result.directory / kMboxFileName), "");
    const auto read = test::RunPython(store_.out.path(),
                                      "import sys, mailbox\nprint(len(mailbox.mbox(sys.argv[1])))",
                                      {(result.directory / kMboxFileName).string()});
    EXPECT_EQ(read, "0\n");
}

TEST_F(ExportMailTest, BodiesBecomePlainTextOrAlternativesAndMboxQuotesFromLines) {
    ExportRecord record;
    record.sender = u"Carol Hughes";
    record.subject = u"Body";
    record.itemId = u"00000000000000A1";
    record.bodyText = u"From here\n>From there\nUnicode \u00e9\n";
    ExportRecord both = record;
    both.bodyHtml = u"<p>From <b>here</b></p>";
    ExportRecord htmlOnly = record;
    htmlOnly.bodyText.reset();
    htmlOnly.bodyHtml = u"<p>only</p>";
    const std::filesystem::path dir = store_.out.path();
    std::ofstream(dir / "text.eml", std::ios::binary) << MimeMessage(record, LineEnding::CrLf);
    std::ofstream(dir / "both.eml", std::ios::binary) << MimeMessage(both, LineEnding::CrLf);
    std::ofstream(dir / "html.eml", std::ios::binary) << MimeMessage(htmlOnly, LineEnding::CrLf);
    std::ofstream(dir / "m.mbox", std::ios::binary)
        << "From x Thu Jan  1 00:00:00 1970\n"
        << MboxrdQuote(MimeMessage(record, LineEnding::Lf)) << "\n";

    constexpr char kBodyReader[] = R"(
import sys, email, email.policy, mailbox
for path in sys.argv[1:4]:
    msg = email.message_from_binary_file(open(path, 'rb'), policy=email.policy.default)
    parts = [msg] if not msg.is_multipart() else list(msg.iter_parts())
    print(msg.get_content_type() + '|' + '|'.join(
        p.get_content_type() + '=' + repr(p.get_content()) for p in parts))
for msg in mailbox.mbox(sys.argv[4]):
    print(repr(msg.get_payload(decode=True).decode(msg.get_content_charset())))
)";
    const auto read = test::Lines(test::RunPython(
        dir, kBodyReader, {dir / "text.eml", dir / "both.eml", dir / "html.eml", dir / "m.mbox"}));
    ASSERT_EQ(read.size(), 4u);
    EXPECT_EQ(read[0], "text/plain|text/plain='From here\\n>From there\\nUnicode \xC3\xA9\\n'");
    EXPECT_EQ(read[1],
              "multipart/alternative|text/plain='From here\\n>From there\\nUnicode "
              "\xC3\xA9\\n'|text/html='<p>From <b>here</b></p>'");
    EXPECT_EQ(read[2], "text/html|text/html='<p>only</p>\\n'");
    // Python's reader leaves the mboxrd quoting in place: one ">" more on each From line.
    EXPECT_EQ(read[3], "'>From here\\n>>From there\\nUnicode \xC3\xA9\\n'");
    EXPECT_EQ(MboxrdQuote("From a\n>From b\nFromage\n>>From c"),
              ">From a\n>>From b\nFromage\n>>>From c");
}

// The bodies stored in the mails' records, in line or as long values, text and HTML, reach the
// messages written, as Python's reader gives them back.
TEST_F(ExportMailTest, StoredBodiesGoIntoTheMessages) {
    const auto inbox = store_.AddFolder("Inbox");
    Item text = Mail("Carol Hughes", "Text", April(10, 9, 0));
    text.content.text = "Short text body";
    store_.builder.AddItem(inbox, text);
    Item both = Mail("Carol Hughes", "Both", April(10, 9, 1));
    both.content.text = std::string(3000, 'x') + " long text";
    both.content.html = "<p>The <b>HTML</b> body</p>";
    store_.builder.AddItem(inbox, both);
    store_.builder.AddItem(inbox, Mail("Carol Hughes", "None", April(10, 9, 2)));

    const auto result = store_.Export("Inbox", WithMbox());
    ASSERT_TRUE(result.ok()) << result.error;
    constexpr char kPartsReader[] = R"(
import sys, email, email.policy
for path in sys.argv[1:]:
    msg = email.message_from_binary_file(open(path, 'rb'), policy=email.policy.default)
    parts = [msg] if not msg.is_multipart() else list(msg.iter_parts())
    print('|'.join(p.get_content_type() + '=' + p.get_content().strip()[-20:] for p in parts))
)";
    const auto read =
        test::Lines(test::RunPython(store_.out.path(), kPartsReader,
                                    {result.directory / "00001.eml", result.directory / "00002.eml",
                                     result.directory / "00003.eml"}));
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0], "text/plain=Short text body");
    EXPECT_EQ(read[1], "text/plain=xxxxxxxxxx long text|text/html=<b>HTML</b> body</p>");
    EXPECT_EQ(read[2], "text/plain=");
}

TEST_F(ExportMailTest, StopLeavesOnlyCompleteFilesAndNoPartialMbox) {
    const auto inbox = store_.AddFolder("Inbox");
    for (int i = 0; i < 6; ++i) {
        store_.builder.AddItem(inbox,
                               Mail("Carol Hughes", "Mail " + std::to_string(i), April(10, 9, i)));
    }
    StopFlag& stop = store_.Browsed().stop();
    int seen = 0;
    ExportOptions options = WithMbox();
    options.completeRecord = [&](ExportRecord&, const ListedItem&) {
        if (++seen == 3) {
            stop.request();
        }
    };
    const auto result = store_.Export("Inbox", options);
    stop.clear();
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.items, 3u) << "the row in hand is written, the listing ends at the next";
    EXPECT_EQ(test::FileNames(result.directory),
              (std::vector<std::string>{"00001.eml", "00002.eml", "00003.eml"}))
        << "no mbox and no temporary file remain";
    EXPECT_EQ(result.files.size(), 3u);
}

}  // namespace
}  // namespace velmor
