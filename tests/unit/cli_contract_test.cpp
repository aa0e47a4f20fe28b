#include <gtest/gtest.h>

#include <fstream>

#include "cli_runner.h"

namespace velmor {
namespace {

using test::RunCli;

TEST(CliContractTest, UsageErrorsAreOneLineOnStderrWithStatusTwo) {
    test::TempDir tmp;
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{},
                                                      {"list"},
                                                      {"catalog"},
                                                      {"catalog", ""},
                                                      {"mailboxes", "a.edb", "b.edb"},
                                                      {"mailboxes", "--xml", "a.edb"}}) {
        const auto result = RunCli(arguments, tmp.path());
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.empty());
        ASSERT_FALSE(result.err.empty());
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    }
    const auto help = RunCli({"--help"}, tmp.path());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("velmor-cli mailboxes [--json] FILE"), std::string::npos);
}

TEST(CliContractTest, PathMessagesGoToStderrWithStatusOne) {
    test::TempDir tmp;
    { std::ofstream(tmp / "notes.txt") << "x"; }
    const auto missing = RunCli({"catalog", (tmp / "gone.edb").string()}, tmp.path());
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "File Does Not Exist\n");
    const auto wrongName = RunCli({"mailboxes", (tmp / "notes.txt").string()}, tmp.path());
    EXPECT_EQ(wrongName.exitCode, 1);
    EXPECT_EQ(wrongName.err, "Not an EDB File\n");
}

}  // namespace
}  // namespace velmor
