// The system never writes to the database it reads: a damaged store may be the only copy.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "cli_runner.h"
#include "edb_writer/demo_store.h"
#include "full_browse.h"
#include "opened_database.h"

namespace velmor {
namespace {

namespace fs = std::filesystem;

std::vector<char> FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct timespec ModificationTime(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_mtim;
}

// The access modes of this process's open descriptors of the file; the kernel reports them
// whatever the file's permissions, so the check holds for root too.
std::vector<int> AccessModesOf(const fs::path& path) {
    std::vector<int> modes;
    for (const fs::directory_entry& fd : fs::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (fs::read_symlink(fd.path(), error) != fs::canonical(path)) {
            continue;
        }
        std::ifstream info("/proc/self/fdinfo/" + fd.path().filename().string());
        std::string key;
        std::string value;
        while (info >> key >> value) {
            if (key == "flags:") {
                modes.push_back(std::stoi(value, nullptr, 8) & O_ACCMODE);
            }
        }
    }
    return modes;
}

TEST(ReadOnlyGuaranteeTest, AFullRunAndABrowseOfEveryFolderLeaveTheFileUntouched) {
    test::OpenedDatabase db(testdb::BuildDemoStore());
    const fs::path path = db.path();
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::vector<char> before = FileBytes(path);
    const struct timespec modifiedBefore = ModificationTime(path);

    db.Open();
    ASSERT_TRUE(db.file.isOpen()) << "a file with mode 0444 must open";
    EXPECT_EQ(AccessModesOf(path), std::vector<int>{O_RDONLY});
    const test::ScopedTmpDir templateDir(db.dir_.path());
    const test::BrowseOutcome outcome = test::ProcessAndBrowseAll(db.context);
    EXPECT_TRUE(outcome.found);
    EXPECT_GT(outcome.rows, 0u);
    EXPECT_EQ(AccessModesOf(path), std::vector<int>{O_RDONLY});
    db.file.CloseDatabase();

    const auto cli = test::RunCli({"mailboxes", path.string()}, db.dir_.path());
    EXPECT_EQ(cli.exitCode, 0) << cli.err;

    EXPECT_EQ(FileBytes(path), before);
    const struct timespec modifiedAfter = ModificationTime(path);
    EXPECT_EQ(modifiedAfter.tv_sec, modifiedBefore.tv_sec);
    EXPECT_EQ(modifiedAfter.tv_nsec, modifiedBefore.tv_nsec);
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
}

}  // namespace
}  // namespace velmor
