#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "browse/message_template.h"
#include "temp_dir.h"

namespace velmor {
namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(MessageTemplateTest, WritesThirtySixCrlfLinesIntoTheTemporaryDirectory) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    EXPECT_EQ(MessageTemplatePath(), dir / "Test.eml");

    WriteMessageTemplate();
    const std::string text = ReadFile(dir / "Test.eml");
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
}

TEST(MessageTemplateTest, RewritingOverwritesAndDeletingRemovesTheFile) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    {
        std::ofstream old(dir / "Test.eml");
        old << std::string(10000, 'x');
    }
    WriteMessageTemplate();
    WriteMessageTemplate();
    EXPECT_EQ(ReadFile(dir / "Test.eml"), MessageTemplateText());
    DeleteMessageTemplate();
    EXPECT_FALSE(std::filesystem::exists(dir / "Test.eml"));
    DeleteMessageTemplate();
}

TEST(MessageTemplateTest, AFileThatCannotBeCreatedIsSilentlySkipped) {
    test::TempDir dir;
    test::ScopedTmpDir tmp(dir.path());
    std::filesystem::create_directory(dir / "Test.eml");
    WriteMessageTemplate();
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Test.eml"));
}

}  // namespace
}  // namespace velmor
