// The attachments of a message window as they are offered and saved: names made safe and
// visible, an attached message (no file name) saved as its subject and ".eml", and Save All
// telling which names were taken.
#include "wizard/message_attachments.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "stm_writer/mime_corpus.h"
#include "streaming/mime_summary.h"
#include "temp_dir.h"

namespace velmor::ui {
namespace {

std::vector<std::string> FileNames(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Save All writes every attachment under a name the exports would give it: no hidden files,
// no control characters, nothing Windows file systems refuse, nothing too long to be made.
TEST(MessageAttachmentsTest, SaveAllWritesEveryAttachmentUnderASafeVisibleName) {
    const std::string longName = std::string(300, 'x') + ".txt";
    const std::vector<stm::CorpusAttachment> attachments = {
        {".profile", "text/plain", "1"},
        {"CON", "text/plain", "2"},
        {"aux.txt", "text/plain", "3"},
        {"a:b?c*d|e<f>g.txt", "text/plain", "4"},
        {longName, "text/plain", "5"},
        {"tab\there\x1b.txt", "text/plain", "6"},
        {"line\nbreak\u00e9.txt", "text/plain", "7"},
    };
    const std::string message = stm::MakeMessageWithAttachments(1, attachments, 5).bytes;
    const MessageAttachments list(message, ReadMimeAttachments(message));
    ASSERT_EQ(list.list().size(), attachments.size());
    EXPECT_EQ(list.FileName(0), "_.profile");

    const test::TempDir dir;
    std::string error;
    EXPECT_EQ(list.SaveAll(dir.path(), nullptr, error), attachments.size()) << error;
    EXPECT_EQ(error, "");
    std::vector<std::string> expected = {"_.profile",
                                         "CON_",
                                         "aux_.txt",
                                         "a_b_c_d_e_f_g.txt",
                                         std::string(200, 'x'),
                                         "tab_here_.txt",
                                         "line_break\u00e9.txt"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FileNames(dir.path()), expected);
}

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
