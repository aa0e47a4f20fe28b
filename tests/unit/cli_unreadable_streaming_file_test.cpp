// A streaming file that cannot be read is said at once, and a FIFO or other special file is
// refused without waiting on it.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "cli_runner.h"
#include "edb_writer/one_mailbox_store.h"

namespace velmor {
namespace {

using test::RunCli;

class CliUnreadableStreamingFileTest : public testing::Test {
protected:
    CliUnreadableStreamingFileTest() {
        testdb::WriteOneMailboxStore(tmp_ / "Store.edb");
        // Nothing ever writes to it: opening it to read would wait for ever.
        EXPECT_EQ(::mkfifo((tmp_ / "fifo.stm").c_str(), 0600), 0);
    }

    std::string Database() const { return (tmp_ / "Store.edb").string(); }

    test::TempDir tmp_;
};

TEST_F(CliUnreadableStreamingFileTest, AnUnreadableStmFailsTheCommandAtOnce) {
    std::filesystem::create_directory(tmp_ / "directory.stm");
    for (const std::string& named :
         {(tmp_ / "none.stm").string(), (tmp_ / "directory.stm").string(), std::string("/dev/zero"),
          (tmp_ / "fifo.stm").string()}) {
        SCOPED_TRACE(named);
        const auto mailboxes = RunCli({"mailboxes", "--stm", named, Database()}, tmp_.path());
        EXPECT_EQ(mailboxes.exitCode, 1);
        EXPECT_EQ(mailboxes.out, "");
        EXPECT_EQ(mailboxes.err, "velmor-cli: cannot read the streaming file " + named + "\n");
        const auto folders = RunCli({"folders", "--stm", named, Database(), "1"}, tmp_.path());
        EXPECT_EQ(folders.exitCode, 1);
    }
    const auto carved =
        RunCli({"carve", (tmp_ / "fifo.stm").string(), (tmp_ / "out").string()}, tmp_.path());
    EXPECT_EQ(carved.exitCode, 1);
    EXPECT_NE(carved.err.find("cannot open"), std::string::npos) << carved.err;
}

TEST_F(CliUnreadableStreamingFileTest, AnUnreadableFileBesideTheDatabaseIsLeftOutWithAWarning) {
    ASSERT_EQ(::mkfifo((tmp_ / "Store.STM").c_str(), 0600), 0);
    const auto mailboxes = RunCli({"mailboxes", Database()}, tmp_.path());
    ASSERT_EQ(mailboxes.exitCode, 0) << mailboxes.err;
    EXPECT_EQ(mailboxes.out.find("streaming file"), std::string::npos) << mailboxes.out;
    EXPECT_NE(mailboxes.err.find("warning: the streaming file " + (tmp_ / "Store.STM").string() +
                                 " cannot be read; it is left out"),
              std::string::npos)
        << mailboxes.err;
    const auto folders = RunCli({"folders", Database(), "2"}, tmp_.path());
    EXPECT_EQ(folders.exitCode, 2) << "no row for it";
}

}  // namespace
}  // namespace velmor
