// The attachments of a message window as they are offered and saved: an attached message
// (no file name) is saved as its subject and ".eml", and Save All tells which names were taken.
#include "wizard/message_attachments.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "streaming/mime_summary.h"
#include "temp_dir.h"

namespace velmor::ui {
namespace {

// A mail with a forwarded message (no file name) and a named text file.
constexpr char kForward[] =
    "From: a@example.com\r\nTo: b@example.com\r\nSubject: Fwd: plans\r\nMIME-Version: 1.0\r\n"
    "Content-Type: multipart/mixed; boundary=\"b\"\r\n\r\n"
    "--b\r\nContent-Type: text/plain\r\n\r\nSee below.\r\n"
    "--b\r\nContent-Type: message/rfc822\r\nContent-Disposition: attachment\r\n\r\n"
    "From: c@example.com\r\nSubject: Budget: Q1/Q2 plans\r\n\r\nThe numbers.\r\n"
    "--b\r\nContent-Type: text/plain\r\nContent-Disposition: attachment; "
    "filename=\"notes.txt\"\r\n\r\nNotes.\r\n"
    "--b--\r\n";

MessageAttachments ForwardAttachments() {
    return MessageAttachments(kForward, ReadMimeAttachments(kForward));
}

TEST(MessageAttachmentsTest, AnAttachedMessageIsOfferedAsItsSubjectAndEml) {
    const MessageAttachments attachments = ForwardAttachments();
    ASSERT_EQ(attachments.list().size(), 2U);
    EXPECT_EQ(attachments.list()[0].type, "message/rfc822");
    EXPECT_EQ(attachments.FileName(0), "Budget_ Q1_Q2 plans.eml");
    EXPECT_EQ(attachments.FileName(1), "notes.txt");
}

TEST(MessageAttachmentsTest, SaveAllNamesTheAttachmentsItSavedUnderOtherNames) {
    const MessageAttachments attachments = ForwardAttachments();
    test::TempDir directory;
    std::string error;
    std::vector<MessageAttachments::Renamed> renamed;
    EXPECT_EQ(attachments.SaveAll(directory.path(), nullptr, error, &renamed), 2U);
    EXPECT_TRUE(renamed.empty());
    EXPECT_TRUE(std::filesystem::exists(directory / "Budget_ Q1_Q2 plans.eml"));

    EXPECT_EQ(attachments.SaveAll(directory.path(), nullptr, error, &renamed), 2U);
    EXPECT_EQ(error, "");
    ASSERT_EQ(renamed.size(), 2U);
    EXPECT_EQ(renamed[0].offered, "Budget_ Q1_Q2 plans.eml");
    EXPECT_EQ(renamed[0].used, "Budget_ Q1_Q2 plans (2).eml");
    EXPECT_EQ(renamed[1].used, "notes (2).txt");
}

}  // namespace
}  // namespace velmor::ui
