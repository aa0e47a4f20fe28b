#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>

#include "browse/message_template.h"
#include "file_contents.h"
#include "temp_dir.h"

namespace velmor {
namespace {

TEST(MessageTemplateTest, WritesThirtySixCrlfLinesIntoAPrivateDirectoryBelowTheTemporaryOne) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    WriteMessageTemplate();
    const std::filesystem::path path = MessageTemplatePath();
    EXPECT_EQ(path.filename(), "Test.eml");
    EXPECT_EQ(path.parent_path().parent_path(), dir.path());
    EXPECT_TRUE(path.parent_path().filename().string().starts_with("velmor-"));
    const std::string text = test::ReadFile(path);
    EXPECT_EQ(text, MessageTemplateText());

    size_t lines = 1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n') {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(text[i - 1], '\r') << "bare line feed at " << i;
            ++lines;
        }
    }
    EXPECT_EQ(lines, 36u);
    EXPECT_TRUE(text.starts_with("From: \"Unknown\" <"));
    EXPECT_NE(text.find("\r\nSubject: \r\nDate: Thu, 4 Oct 2007 13:39:07 +0530\r\n"),
              std::string::npos);
    EXPECT_NE(text.find("\r\n<!DOCTYPE HTML PUBLIC \"-\r\n<HTML><HEAD>\r\n"), std::string::npos);
    EXPECT_NE(text.find("content=3D\"text/html; =\r\n"), std::string::npos);
    EXPECT_TRUE(text.ends_with("\r\n\r\n------=_NextPart_000_0003_01C8068B.EFE915B0--"));
    DeleteMessageTemplate();
}

TEST(MessageTemplateTest, RewritingReplacesTheTemplateAndDeletingRemovesItsDirectory) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    WriteMessageTemplate();
    const std::filesystem::path path = MessageTemplatePath();
    std::ofstream(path, std::ios::app) << std::string(10000, 'x');
    WriteMessageTemplate();
    EXPECT_EQ(MessageTemplatePath(), path);
    EXPECT_EQ(test::ReadFile(path), MessageTemplateText());
    DeleteMessageTemplate();
    EXPECT_FALSE(std::filesystem::exists(path.parent_path()));
    EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    DeleteMessageTemplate();
}

// A planted link or file named Test.eml in the temporary directory is never followed,
// truncated or removed.
TEST(MessageTemplateTest, APlantedLinkOrFileIsNeverTouched) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    std::ofstream(dir / "victim") << "keep me";
    std::filesystem::create_symlink(dir / "victim", dir / "Test.eml");
    WriteMessageTemplate();
    EXPECT_EQ(test::ReadFile(MessageTemplatePath()), MessageTemplateText());
    DeleteMessageTemplate();
    EXPECT_EQ(test::ReadFile(dir / "victim"), "keep me");
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "Test.eml"));
}

// Two programs at once each keep their own template: one ending removes only its own.
TEST(MessageTemplateTest, TwoProcessesAtOnceKeepTheirOwnTemplates) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    int toChild[2];
    int toParent[2];
    ASSERT_EQ(::pipe(toChild), 0);
    ASSERT_EQ(::pipe(toParent), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteMessageTemplate();
        const std::string path = MessageTemplatePath().string() + "\n";
        char go = 0;
        const bool talked =
            ::write(toParent[1], path.data(), path.size()) == static_cast<ssize_t>(path.size()) &&
            ::read(toChild[0], &go, 1) == 1;
        const bool intact = test::ReadFile(MessageTemplatePath()) == MessageTemplateText();
        DeleteMessageTemplate();
        ::_exit(talked && intact ? 0 : 1);
    }
    std::string childPath;
    for (char c = 0; ::read(toParent[0], &c, 1) == 1 && c != '\n';) {
        childPath += c;
    }
    WriteMessageTemplate();
    const std::filesystem::path own = MessageTemplatePath();
    EXPECT_NE(own, childPath);
    DeleteMessageTemplate();
    EXPECT_EQ(test::ReadFile(childPath), MessageTemplateText()) << "the other's file remains";
    ASSERT_EQ(::write(toChild[1], "g", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the other's file was intact";
    EXPECT_FALSE(std::filesystem::exists(childPath));
    EXPECT_FALSE(std::filesystem::exists(own));
    for (int fd : {toChild[0], toChild[1], toParent[0], toParent[1]}) {
        ::close(fd);
    }
}

TEST(MessageTemplateTest, ATemporaryDirectoryWithoutRoomIsSilentlySkipped) {
    test::ScopedTmpDir tmp("/proc");
    WriteMessageTemplate();
    DeleteMessageTemplate();
    EXPECT_FALSE(std::filesystem::exists("/proc/Test.eml"));
}

}  // namespace
}  // namespace velmor
