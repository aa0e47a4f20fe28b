// The development programs (velmor-make-demo, the benchmarks, the fuzz seed writer) answer
// --help and refuse options they do not know before they take an argument as a path.
#include "program_arguments.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "export_test_store.h"
#include "temp_dir.h"

namespace velmor {
namespace {

constexpr char kUsage[] = "usage: tool OUTPUT";

std::optional<int> Answer(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    return tools::AnswerOptions(static_cast<int>(argv.size()), argv.data(), kUsage);
}

TEST(ProgramArgumentsTest, HelpIsAnsweredAndUnknownOptionsAreRefused) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(Answer({"tool", "--help"}), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), std::string(kUsage) + "\n");
    EXPECT_EQ(Answer({"tool", "-h"}), 0);
    EXPECT_EQ(Answer({"tool", "write", "--help"}), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Answer({"tool", "--output=x"}), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "unknown option --output=x\n" + std::string(kUsage) + "\n");
    EXPECT_EQ(Answer({"tool", "write", "-x"}), 2);
    EXPECT_EQ(Answer({"tool", "Demo.edb"}), std::nullopt);
    EXPECT_EQ(Answer({"tool", "-"}), std::nullopt) << "a lone dash is a name";
    EXPECT_EQ(Answer({"tool"}), std::nullopt);
}

TEST(ProgramArgumentsTest, TheDemoWriterMakesNoFileNamedAfterAnOption) {
    const test::TempDir dir;
    const std::string run = "cd '" + dir.path().string() + "' && '" VELMOR_MAKE_DEMO_PATH "' ";
    const int help = std::system((run + "--help >help.txt").c_str());
    EXPECT_EQ(WEXITSTATUS(help), 0);
    const int unknown = std::system((run + "--bogus 2>/dev/null").c_str());
    EXPECT_EQ(WEXITSTATUS(unknown), 2);
    EXPECT_EQ(test::FileNames(dir.path()), std::vector<std::string>{"help.txt"});
}

}  // namespace
}  // namespace velmor
