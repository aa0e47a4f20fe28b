#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_runner.h"
#include "edb_writer/database_image.h"
#include "edb_writer/tree_page.h"

namespace velmor {
namespace {

constexpr int32_t kTreeObject = 9;

std::vector<uint8_t> Key(uint32_t id) {
    return {static_cast<uint8_t>(id >> 24), static_cast<uint8_t>(id >> 16),
            static_cast<uint8_t>(id >> 8), static_cast<uint8_t>(id)};
}

std::vector<uint8_t> Key(uint32_t id, uint32_t offset) {
    std::vector<uint8_t> key = Key(id);
    const std::vector<uint8_t> second = Key(offset);
    key.insert(key.end(), second.begin(), second.end());
    return key;
}

TEST(CliLongValueTest, AValueCutAtTheCapIsPrintedAndSaidSoOnStderr) {
    // Long value 4 declares 4 GiB and holds three bytes.
    const std::vector<testdb::TreeNode> nodes = {
        {Key(4), {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}},
        {Key(4, 0), {'a', 'b', 'c'}},
    };
    const std::vector<uint8_t> bytes = testdb::ComposeTreePage(kTreeObject, {}, {}, nodes);
    testdb::DatabaseImage image;
    image.AddPage(kTreeObject).PutBytes(0, bytes);
    const test::TempDir tmp;
    image.WriteTo(tmp / "capped.edb");

    const auto result =
        test::RunCli({"long-value", (tmp / "capped.edb").string(), "9", "4"}, tmp.path());
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "abc");
    EXPECT_NE(result.err.find("velmor-cli: the value is larger than 64 MiB; it was cut there\n"),
              std::string::npos)
        << result.err;
}

}  // namespace
}  // namespace velmor
