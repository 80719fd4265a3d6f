#include "hosts/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_dir.h"

namespace tarnwick {
namespace {

TEST(SingleInstanceLock, OnlyOneHolderAtATimeAndReleasedWhenTheHolderDies) {
    testing::TempDir dir;
    std::string path = dir.File("tarnwick.lock");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t child = ::fork();
    if (child == 0) {
        SingleInstanceLock lock(path);
        char c = lock.Acquired() ? '1' : '0';
        [[maybe_unused]] ssize_t n = ::write(ready[1], &c, 1);
        ::pause();  // killed by the parent, like a crash
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, '1');
    {
        SingleInstanceLock second(path);
        EXPECT_FALSE(second.Acquired());
        EXPECT_FALSE(second.MayStart());
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    SingleInstanceLock after(path);
    EXPECT_TRUE(after.Acquired());
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SingleInstanceLock, ALockThatCannotBeMadeDoesNotStopTheStart) {
    testing::TempDir dir;
    SingleInstanceLock lock(dir.File("no-such-folder/tarnwick.lock"));
    EXPECT_FALSE(lock.Acquired());
    EXPECT_FALSE(lock.HeldElsewhere());
    EXPECT_TRUE(lock.MayStart());
    EXPECT_NE(lock.Problem().find("no-such-folder"), std::string::npos) << lock.Problem();
}

}  // namespace
}  // namespace tarnwick
