#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "streaming/mime_library.h"
#include "streaming/mime_summary.h"
#include "streaming/summary_fields.h"

namespace {

using velmor::SummaryFieldsOf;

// Fields the summary does not read go with their folded lines; the ones it reads stay with
// theirs, in their order, whatever the case of their names and the line ends.
TEST(SummaryFieldsTest, LeavesOutOtherFieldsWithTheirFoldedLines) {
    EXPECT_EQ(SummaryFieldsOf("Return-Path: <a@example.org>\n"
                              "Received: from a\n\tby b\n  with c\n"
                              "FROM: Ann <a@example.org>\n"
                              "To: b@example.org,\n c@example.org\n"
                              "subject: folded\n the subject\n"
                              "X-Mailer: m\n"
                              "Date: Mon, 1 Jan 2001 00:00:00 +0000\n"
                              "Message-ID: <1@example.org>\n"
                              "Content-Type: text/plain; charset=koi8-r\n"
                              "\n"),
              "Return-Path: <a@example.org>\n"
              "FROM: Ann <a@example.org>\n"
              "subject: folded\n the subject\n"
              "Date: Mon, 1 Jan 2001 00:00:00 +0000\n"
              "Message-ID: <1@example.org>\n"
              "\n");
    EXPECT_EQ(SummaryFieldsOf("Subject: s\r\nCc: c@example.org\r\n\tfolded\r\nFrom: f\r\n\r\n"),
              "Subject: s\r\nFrom: f\r\n\r\n");
    // A block cut inside a field left out, and one without its empty line.
    EXPECT_EQ(SummaryFieldsOf("From: f\nTo: b@exa"), "From: f\n");
    EXPECT_EQ(SummaryFieldsOf("From: f\nSubject: s"), "From: f\nSubject: s");
}

// What the MIME library may read otherwise than as a field stays, and all that follows it: the
// first line (an mbox "From " line, a folded line), a line without a colon, a name with blanks
// or control characters.
TEST(SummaryFieldsTest, KeepsEverythingFromALineThatIsNoWellFormedFieldOn) {
    EXPECT_EQ(SummaryFieldsOf("From a@example.org Mon Jan  1 00:00:00 2001\nTo: b\nFrom: f\n\n"),
              "From a@example.org Mon Jan  1 00:00:00 2001\nFrom: f\n\n");
    EXPECT_EQ(SummaryFieldsOf("X-First: kept\n\tfolded\nTo: b\n\n"), "X-First: kept\n\tfolded\n\n");
    EXPECT_EQ(SummaryFieldsOf(" folded first\nTo: b\nFrom: f\n\n"), " folded first\nFrom: f\n\n");
    EXPECT_EQ(SummaryFieldsOf("From: f\nTo: b\nno colon here\nTo: c\nX-Y: z\n\n"),
              "From: f\nno colon here\nTo: c\nX-Y: z\n\n");
    EXPECT_EQ(SummaryFieldsOf("From: f\nTo: b\nX Y: blank\nTo: c\n\n"),
              "From: f\nX Y: blank\nTo: c\n\n");
    EXPECT_EQ(SummaryFieldsOf("From: f\nTo: b\n:no name\nTo: c\n\n"),
              "From: f\n:no name\nTo: c\n\n");
    EXPECT_EQ(SummaryFieldsOf(std::string("From: f\nTo: b\nX\x01Y: c\nTo: c\n\n")),
              std::string("From: f\nX\x01Y: c\nTo: c\n\n"));
}

// The summary read from a block with many other fields is the one read from its own fields.
TEST(SummaryFieldsTest, SummaryOfAFullBlockIsThatOfItsSummaryFields) {
    const std::string full =
        "Received: from a by b; Mon, 1 Jan 2001 00:00:00 +0000\n"
        "From: =?utf-8?q?J=C3=B6rg?= <j@example.org>, other@example.org\n"
        "To: b@example.org\nCc: c@example.org\n"
        "Subject: =?iso-8859-1?q?Gr=FC=DFe?=\n"
        "Date: Tue, 2 Jan 2001 10:20:30 +0100\n"
        "Message-Id: <x@example.org>\n"
        "\n"
        "body\n";
    const auto summary = velmor::ReadMimeMessage(full);
    ASSERT_TRUE(summary);
    EXPECT_EQ(summary->fromName, "J\xC3\xB6rg");
    EXPECT_EQ(summary->fromAddress, "j@example.org");
    EXPECT_EQ(summary->from, "J\xC3\xB6rg <j@example.org>, other@example.org");
    EXPECT_EQ(summary->subject,
              "Gr\xC3\xBC\xC3\x9F"
              "e");
    EXPECT_EQ(summary->date, "2001-01-02T10:20:30+01");
    EXPECT_EQ(summary->messageId, "x@example.org");
}

// The fields of a header block as the library's own message gives them, or nothing when it
// reads no message.
std::optional<velmor::MimeSummary> LibraryMessageFields(const std::string& block) {
    velmor::InitializeMimeLibrary();
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(block.data(), block.size());
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* message = g_mime_parser_construct_message(parser, nullptr);
    g_object_unref(parser);
    g_object_unref(stream);
    if (message == nullptr) {
        return std::nullopt;
    }
    const auto text = [](const char* value) { return std::string(value ? value : ""); };
    velmor::MimeSummary fields;
    fields.messageId = text(g_mime_message_get_message_id(message));
    fields.subject = text(g_mime_message_get_subject(message));
    char* from = internet_address_list_to_string(g_mime_message_get_from(message), nullptr, FALSE);
    fields.from = text(from);
    g_free(from);
    if (GDateTime* date = g_mime_message_get_date(message)) {
        char* iso = g_date_time_format_iso8601(date);
        fields.date = text(iso);
        g_free(iso);
    }
    g_object_unref(message);
    return fields;
}

// The summary takes repeated fields as the library's message does (the last Subject, Date
// and Message-Id, even one it cannot read, and every From), passes over an mbox From line
// first, and reads nothing where the library reads no message.
TEST(SummaryFieldsTest, RepeatedAndOddFieldsReadAsTheLibrarysMessage) {
    const std::string blocks[] = {
        "Subject: first\nSubject: =?utf-8?q?zw=C3=B6lf?=\nDate: Mon, 1 Jan 2001 00:00:00 +0000\n"
        "Date: Tue, 2 Jan 2001 10:20:30 +0100\nMessage-Id: <a@x>\nMessage-ID: <b@x>\n\n",
        "Date: Mon, 1 Jan 2001 00:00:00 +0000\nDate: not a date\nMessage-Id:\nSubject:\n\n",
        "From: Ann <a@x>\nfrom: b@x, Carl <c@x>\nFROM: not an address\n\n",
        "From a@x Mon Jan  1 00:00:00 2001\nFrom: Ann <a@x>\nSubject: s\n\n",
        ">From a@x Mon Jan  1 00:00:00 2001\nSubject: s\n\n",
        "no field at all\nSubject: s\n\n",
        "From: a@x\r\nContent-Type: message/rfc822\r\nSubject: s\r\n\r\n",
        "Content-Type: multipart/mixed; boundary=b\nFrom: a@x\nSubject: s\n\n",
        "Subject: cut before its end",
        // 8-bit text in the charset of the content type, which the summary leaves out.
        "Content-Type: text/plain; charset=koi8-r\nSubject: \xF0\xD2\xC9\xD7\xC5\xD4\n"
        "From: \xE1\xCE\xCE\xC1 <a@x>\n\n",
    };
    for (const std::string& block : blocks) {
        SCOPED_TRACE(block);
        const auto expected = LibraryMessageFields(block);
        const auto summary = velmor::ReadMimeMessage(block);
        ASSERT_EQ(summary.has_value(), expected.has_value());
        if (summary) {
            EXPECT_EQ(summary->messageId, expected->messageId);
            EXPECT_EQ(summary->subject, expected->subject);
            EXPECT_EQ(summary->from, expected->from);
            EXPECT_EQ(summary->date, expected->date);
        }
    }
}

}  // namespace
