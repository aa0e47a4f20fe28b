#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>

#include "cli_runner.h"

namespace velmor {
namespace {

// Files written by Windows' own ESE engine; none of them is an Exchange store.
const std::filesystem::path kRealDataDir = VELMOR_REALDATA_DIR;

class RealDatabaseTest : public testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(kRealDataDir / GetParam())) {
            GTEST_SKIP() << "no real databases beside the repository";
        }
        // The path check wants ".EDB" in the name.
        database_ = tmp_ / (GetParam() + ".edb");
        std::filesystem::copy_file(kRealDataDir / GetParam(), database_);
    }

    test::TempDir tmp_;
    std::filesystem::path database_;
};

TEST_P(RealDatabaseTest, CatalogIsRecoveredAndTheFullRunFindsNoUser) {
    const auto catalog = test::RunCli({"catalog", database_.string()}, tmp_.path());
    EXPECT_EQ(catalog.exitCode, 0);
    if (GetParam() != "large.edb") {
        EXPECT_NE(catalog.out.find("\tMSysObjects\t255\t"), std::string::npos) << catalog.out;
    }
    const auto mailboxes = test::RunCli({"mailboxes", database_.string()}, tmp_.path());
    EXPECT_EQ(mailboxes.exitCode, 1);
    EXPECT_EQ(mailboxes.err, "No User Found\n");
    EXPECT_TRUE(mailboxes.out.empty());
    EXPECT_FALSE(std::filesystem::exists(tmp_ / "Test.eml")) << "the template outlived the run";
}

INSTANTIATE_TEST_SUITE_P(Files, RealDatabaseTest,
                         testing::Values("basic.edb", "binary.edb", "default.edb", "index.edb",
                                         "multi.edb", "text.edb", "SRUDB.dat", "Current.mdb",
                                         "large.edb"),
                         [](const auto& info) {
                             std::string name = info.param;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

}  // namespace
}  // namespace velmor
