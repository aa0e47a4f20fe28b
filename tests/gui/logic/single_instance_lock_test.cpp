#include "shell/single_instance_lock.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "temp_dir.h"

namespace velmor::ui {
namespace {

TEST(SingleInstanceLockTest, ASecondCopyIsRefusedUntilTheFirstEnds) {
    test::TempDir dir;
    auto first = std::make_unique<SingleInstanceLock>(dir.path());
    ASSERT_TRUE(first->Acquire());
    SingleInstanceLock second(dir.path());
    EXPECT_FALSE(second.Acquire());
    first.reset();
    EXPECT_TRUE(second.Acquire());
}

TEST(SingleInstanceLockTest, ALockLeftByACrashedCopyDoesNotBlockTheNextStart) {
    test::TempDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstanceLock lock(dir.path());
        ::_exit(lock.Acquire() ? 0 : 1);  // ends without releasing anything
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);

    SingleInstanceLock next(dir.path());
    EXPECT_TRUE(std::filesystem::exists(next.path()));
    EXPECT_TRUE(next.Acquire());
}

TEST(SingleInstanceLockTest, AnUnusableDirectoryDoesNotKeepTheProgramFromStarting) {
    SingleInstanceLock lock("/nonexistent/velmor");
    EXPECT_TRUE(lock.Acquire());
}

}  // namespace
}  // namespace velmor::ui
