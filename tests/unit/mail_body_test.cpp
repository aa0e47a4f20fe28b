#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "browse/mail_body.h"
#include "browse/message_content.h"
#include "browsed_store.h"
#include "cli_runner.h"
#include "edb/text_codec.h"
#include "edb_writer/file_time.h"
#include "edb_writer/rtf_compressor.h"
#include "edb_writer/store_builder.h"

namespace velmor {
namespace {

using testdb::BodyStorage;
using testdb::EntryId;
using testdb::Item;

constexpr int32_t kLongValueObject = 22;  // the writer's message-table long-value object

const std::string kHtmlRtf =
    "{\\rtf1\\ansi\\ansicpg1252\\fromhtml1 \\deff0{\\fonttbl{\\f0\\fswiss Arial;}}"
    "{\\*\\htmltag19 <html>}{\\*\\htmltag50 <body>}\\htmlrtf {\\htmlrtf0 "
    "{\\*\\htmltag64 <p>}Minutes of the meeting\\htmlrtf \\par\\htmlrtf0 {\\*\\htmltag72 </p>}"
    "{\\*\\htmltag58 </body>}{\\*\\htmltag27 </html>}}}";

std::string LongText(char letter) {
    std::string text = "Begin ";
    for (int i = 0; i < 120; ++i) {
        text += std::string(20, letter) + " ";
    }
    return text + "End";
}

// The bytes that the text's gap marks "[… N bytes missing …]" count, added up.
uint64_t MarkedMissingBytes(const std::string& text) {
    const std::string open = "[\xE2\x80\xA6 ";
    const std::string close = " bytes missing \xE2\x80\xA6]";
    uint64_t total = 0;
    for (size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        const size_t digits = at + open.size();
        const size_t end = text.find(close, digits);
        if (end != std::string::npos) {
            total += std::stoull(text.substr(digits, end - digits));
        }
    }
    return total;
}

Item Mail(const std::string& subject) {
    Item item;
    item.subject = subject;
    item.sender = "Carol Hughes";
    item.time = testdb::FileTimeFromUtc(2007, 4, 10, 13, 39, 7);
    return item;
}

class MailBodyTest : public testing::Test {
protected:
    MailBodyTest() {
        testdb::Mailbox mailbox;
        mailbox.name = "Ann Walker";
        testdb::Folder top;
        top.parent = builder_.AddMailbox(mailbox);
        top.name = "Top";
        const EntryId topId = builder_.AddFolder(top);
        testdb::Folder inbox;
        inbox.parent = topId;
        inbox.name = "Inbox";
        inbox.containerClass = "IPF.Note";
        inbox_ = builder_.AddFolder(inbox);

        Item inLine = Mail("in line");
        inLine.content.text = "Short text";
        Add(inLine);
        Item longAnsi = Mail("long ansi");
        longAnsi.encoding = testdb::TextEncoding::Ansi;
        longAnsi.content.text = LongText('x');
        Add(longAnsi);
        Item rtfHtml = Mail("rtf html");
        rtfHtml.content.rtf = testdb::CompressRtf(kHtmlRtf);
        rtfHtml.content.storage = BodyStorage::LongValue;
        Add(rtfHtml);
        Item html = Mail("html");
        html.content.text = "Plain twin";
        html.content.html = "<p>caf\xC3\xA9</p>";
        Add(html);
        Item htmlText = Mail("html text");
        htmlText.content.html = LongText('h');
        htmlText.content.htmlAsText = true;
        Add(htmlText);
        Item ownRtf = Mail("own rtf");
        ownRtf.content.rtf = testdb::StoreRtfUncompressed("{\\rtf1\\ansi First\\par Second}");
        Add(ownRtf);
        Add(Mail("no body"));
        Item damagedRtf = Mail("damaged rtf");
        damagedRtf.content.rtf = testdb::CompressRtf("{\\rtf1\\ansi\\fromtext Still readable}");
        damagedRtf.content.rtf[12] ^= 0xFF;  // the stored CRC
        Add(damagedRtf);
        Item wrongSize = Mail("wrong size rtf");
        wrongSize.content.rtf = testdb::CompressRtf("{\\rtf1\\ansi\\fromtext Still readable}");
        wrongSize.content.rtf[4] += 10;  // the raw size
        Add(wrongSize);
        Item unknownType = Mail("unknown rtf");
        unknownType.content.rtf = testdb::CompressRtf("{\\rtf1\\ansi\\fromtext Unreadable}");
        unknownType.content.rtf[8] = 'X';  // the compression type
        Add(unknownType);
    }

    void Add(const Item& item) { builder_.AddItem(inbox_, item); }

    // The body of the row with the subject, read through the row's item id.
    MailBody BodyOf(test::BrowsedStore& store, const std::string& subject) {
        if (store.list.rows().empty()) {
            store.Browse(store.Folder(u"Top\\Inbox"));
        }
        for (const PlainItemList::Row& row : store.list.rows()) {
            if (Utf16ToUtf8(row.cells.at(2)) == subject) {
                return ReadMailBodyOfItem(store.context(), row.itemId, std::nullopt);
            }
        }
        ADD_FAILURE() << "no row " << subject;
        return {};
    }

    testdb::StoreBuilder builder_;
    EntryId inbox_{};
};

TEST_F(MailBodyTest, EachBodyFormIsReadInLineAndFromLongValues) {
    test::BrowsedStore store(builder_);
    EXPECT_EQ(Utf16ToUtf8(*BodyOf(store, "in line").text), "Short text");

    const MailBody longAnsi = BodyOf(store, "long ansi");
    ASSERT_TRUE(longAnsi.text);
    EXPECT_EQ(Utf16ToUtf8(*longAnsi.text), LongText('x'));
    EXPECT_EQ(longAnsi.note, u"");
    EXPECT_FALSE(longAnsi.showsHtml());

    const MailBody rtfHtml = BodyOf(store, "rtf html");
    ASSERT_TRUE(rtfHtml.rtf);
    EXPECT_EQ(*rtfHtml.rtf, kHtmlRtf);
    ASSERT_TRUE(rtfHtml.html);
    EXPECT_EQ(Utf16ToUtf8(*rtfHtml.html),
              "<html><body><p>Minutes of the meeting</p></body></html>");
    EXPECT_TRUE(rtfHtml.showsHtml());

    const MailBody html = BodyOf(store, "html");
    EXPECT_EQ(Utf16ToUtf8(*html.html), "<p>caf\xC3\xA9</p>");
    EXPECT_EQ(Utf16ToUtf8(*html.text), "Plain twin");
    EXPECT_EQ(Utf16ToUtf8(html.best()), "<p>caf\xC3\xA9</p>");

    EXPECT_EQ(Utf16ToUtf8(*BodyOf(store, "html text").html), LongText('h'));
    EXPECT_EQ(Utf16ToUtf8(*BodyOf(store, "own rtf").text), "First\nSecond");

    const MailBody damaged = BodyOf(store, "damaged rtf");
    EXPECT_EQ(Utf16ToUtf8(*damaged.text), "Still readable");
    EXPECT_EQ(damaged.note,
              u"The RTF body is damaged (CRC mismatch); it is shown as far as it could be read.");

    const MailBody wrongSize = BodyOf(store, "wrong size rtf");
    EXPECT_EQ(Utf16ToUtf8(*wrongSize.text), "Still readable");
    EXPECT_EQ(wrongSize.note,
              u"The RTF body is damaged (wrong size); it is shown as far as it could be read.");
    const MailBody unknownType = BodyOf(store, "unknown rtf");
    EXPECT_TRUE(unknownType.empty());
    EXPECT_EQ(unknownType.note,
              u"The RTF body is stored in an unknown compression type and cannot be shown.");

    const MailBody none = BodyOf(store, "no body");
    EXPECT_TRUE(none.empty());
    EXPECT_EQ(none.note, u"This mail has no body.");
}

TEST_F(MailBodyTest, ALostLeafPageGivesThePartThatIsLeftAndSaysSo) {
    testdb::DatabaseImage image = builder_.Build();
    // The long-value leaf pages in file order; the second one holds the middle of a value.
    int leaves = 0;
    for (int32_t p = 0; p < image.pageCount(); ++p) {
        testdb::Page& page = image.PageAt(p);
        if (page.objectId() == kLongValueObject && page.u32(36) == 0x82 && ++leaves == 2) {
            page.Put16(34, 0);
        }
    }
    ASSERT_GE(leaves, 2);
    test::BrowsedStore store(image);
    uint64_t missing = 0;
    uint64_t marked = 0;
    for (const char* subject : {"long ansi", "rtf html", "html text"}) {
        const MailBody body = BodyOf(store, subject);
        missing += body.missingBytes;
        if (body.missingBytes != 0) {
            EXPECT_EQ(body.note, u"Part of the body is missing from the database.");
        }
        if (body.rtf) {
            continue;
        }
        // The stored text shows each gap where it lies, with the count of bytes lost there.
        const uint64_t inText = MarkedMissingBytes(Utf16ToUtf8(body.best()));
        EXPECT_EQ(inText, body.missingBytes) << subject;
        marked += inText;
    }
    EXPECT_GT(missing, 0u);
    EXPECT_GT(marked, 0u);
}

TEST_F(MailBodyTest, MessageCommandPrintsHeadersAndBody) {
    const test::TempDir tmp;
    const std::string file = (tmp / "store.edb").string();
    builder_.WriteTo(tmp / "store.edb");
    const std::string inbox = "Mailbox - Ann Walker\\Top\\Inbox\\";
    const auto listed = test::RunCli({"items", file, "1", inbox}, tmp.path());
    ASSERT_EQ(listed.exitCode, 0);
    const auto plain = test::RunCli({"message", file, "1", inbox, "1"}, tmp.path());
    ASSERT_EQ(plain.exitCode, 0) << plain.err;
    EXPECT_NE(plain.out.find("From: Carol Hughes\n"), std::string::npos) << plain.out;
    EXPECT_NE(plain.out.find("Subject: in line\n"), std::string::npos);
    EXPECT_TRUE(plain.out.ends_with("\n\nShort text\n")) << plain.out;

    const auto json = test::RunCli({"message", "--json", file, "1", inbox, "4"}, tmp.path());
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"no\": 4, \"from\": {\"name\": \"Carol Hughes\", \"address\": "
                            "null, \"addressType\": null}, \"to\": [], \"cc\": [], "
                            "\"bcc\": [], \"replyTo\": [], \"subject\": \"html\""),
              std::string::npos)
        << json.out;
    EXPECT_NE(json.out.find("\"body\": {\"text\": \"Plain twin\", \"html\": "
                            "\"<p>caf\xC3\xA9</p>\", \"rtf\": null, \"missingBytes\": 0, "
                            "\"note\": null}}\n"),
              std::string::npos)
        << json.out;

    EXPECT_EQ(test::RunCli({"message", file, "1", inbox, "99"}, tmp.path()).exitCode, 2);
    EXPECT_EQ(test::RunCli({"message", file, "1", inbox, "x"}, tmp.path()).exitCode, 2);
    EXPECT_EQ(test::RunCli({"message", file, "1", "nowhere\\", "1"}, tmp.path()).exitCode, 2);
}

}  // namespace
}  // namespace velmor
