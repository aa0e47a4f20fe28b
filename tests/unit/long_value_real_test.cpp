#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli_runner.h"

namespace velmor {
namespace {

// Files written by Windows' own ESE engine; their long values are recognisable texts.
const std::filesystem::path kRealDataDir = VELMOR_REALDATA_DIR;

class RealLongValues : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::filesystem::is_directory(kRealDataDir)) {
            GTEST_SKIP() << "no real databases at " << kRealDataDir;
        }
    }

    test::CliResult LongValue(const std::string& file, int objectId, int id) {
        return test::RunCli({"long-value", (kRealDataDir / file).string(), std::to_string(objectId),
                             std::to_string(id)},
                            tmp_.path());
    }

    static std::string Utf16(const std::string& ascii) {
        std::string wide;
        for (char c : ascii) {
            wide += c;
            wide += '\0';
        }
        return wide;
    }

    test::TempDir tmp_;
};

TEST_F(RealLongValues, AsciiValueComesOutWholeFromTheLeafPage) {
    for (const auto& [file, objectId] : {std::pair{"text.edb", 9}, std::pair{"index.edb", 27}}) {
        const auto result = LongValue(file, objectId, 1);
        ASSERT_EQ(result.exitCode, 0) << file << result.err;
        EXPECT_EQ(result.out, "Long ASCII text " + std::string(1024, 'a')) << file;
        EXPECT_EQ(result.err, "") << file;
    }
}

TEST_F(RealLongValues, UnicodeValuesComeOutWhole) {
    const auto result = LongValue("text.edb", 9, 2);
    ASSERT_EQ(result.exitCode, 0);
    ASSERT_EQ(result.out.size(), 2090u);
    EXPECT_EQ(result.out.substr(0, 36), Utf16("Long Unicode text "));
    EXPECT_EQ(result.out.substr(result.out.size() - 20), Utf16("aaaaaaaaaa"));

    // The page of value 5 holds its chunk before its root entry.
    const auto max = LongValue("text.edb", 9, 5);
    ASSERT_EQ(max.exitCode, 0);
    ASSERT_EQ(max.out.size(), 1900u);
    EXPECT_EQ(max.out.substr(0, 16), Utf16("Max long"));
}

TEST_F(RealLongValues, EveryValueOfAMultiValuedColumnIsFound) {
    for (int id = 1; id <= 3; ++id) {
        const auto result = LongValue("multi.edb", 9, id);
        ASSERT_EQ(result.exitCode, 0) << id;
        EXPECT_TRUE(result.out.starts_with(
            "Some very long binary data that has multiple values, this is value " +
            std::to_string(id)))
            << id;
    }
    for (int id = 7; id <= 9; ++id) {
        const auto result = LongValue("multi.edb", 9, id);
        ASSERT_EQ(result.exitCode, 0) << id;
        EXPECT_TRUE(result.out.starts_with("Some very long ASCII text")) << id;
        EXPECT_TRUE(result.out.ends_with("aaaa")) << id;
    }
    for (int id = 10; id <= 12; ++id) {
        const auto result = LongValue("multi.edb", 9, id);
        ASSERT_EQ(result.exitCode, 0) << id;
        EXPECT_TRUE(result.out.starts_with(Utf16("Some very long Unicode text"))) << id;
    }
}

TEST_F(RealLongValues, CompressedValueIsGivenAsStoredAndSaysSo) {
    const auto result = LongValue("text.edb", 9, 3);
    ASSERT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out.size(), 41u);
    EXPECT_EQ(static_cast<uint8_t>(result.out[0]), 0x18);
    EXPECT_NE(result.err.find("compressed"), std::string::npos);
}

TEST_F(RealLongValues, UnknownIdOrObjectExitsWithOne) {
    EXPECT_EQ(LongValue("text.edb", 9, 99).exitCode, 1);
    EXPECT_EQ(LongValue("text.edb", 8, 1).exitCode, 1);
    EXPECT_EQ(
        test::RunCli({"long-value", (kRealDataDir / "text.edb").string(), "9", "x"}, tmp_.path())
            .exitCode,
        2);
}

TEST_F(RealLongValues, FileWithoutLongValuesExitsWithOne) {
    // large.edb has 32 KiB pages and no long-value tree.
    const auto result =
        test::RunCli({"long-value", (kRealDataDir / "large.edb").string(), "9", "1"}, tmp_.path());
    EXPECT_EQ(result.exitCode, 1) << result.err;
}

}  // namespace
}  // namespace velmor
