#include "mounted_folder.h"
#include "platform/program_lock.h"
#include "temp_app_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using platform::LockTry;
using platform::ProgramLock;

TEST(ProgramLock, OneHolderAtATimeAndFreeOnceItGoes) {
    TempAppDir dir;
    const std::string path = dir.file("savedata/yomirin.lock");
    {
        ProgramLock first;
        ASSERT_EQ(first.tryTake(path), LockTry::Taken);
        ProgramLock second;
        EXPECT_EQ(second.tryTake(path), LockTry::HeldElsewhere);
        EXPECT_FALSE(second.held());
    }
    ProgramLock later;
    EXPECT_EQ(later.tryTake(path), LockTry::Taken);
}

TEST(ProgramLock, AKilledHolderLeavesNoLockBehind) {
    TempAppDir dir;
    const std::string path = dir.file("savedata/yomirin.lock");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        ProgramLock lock;
        const char taken = lock.tryTake(path) == LockTry::Taken ? 't' : 'f';
        (void)!::write(ready[1], &taken, 1);
        ::pause();
        ::_exit(0);
    }
    char taken = 0;
    ASSERT_EQ(::read(ready[0], &taken, 1), 1);
    ASSERT_EQ(taken, 't');
    ProgramLock second;
    EXPECT_EQ(second.tryTake(path), LockTry::HeldElsewhere);
    ::kill(holder, SIGKILL);
    int status = 0;
    ::waitpid(holder, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(second.tryTake(path), LockTry::Taken) << "the lock outlived its holder";
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(ProgramLock, AFolderThatCannotHoldTheFileGivesNoLockAndMakesNone) {
    TempAppDir dir;
    ProgramLock lock;
    EXPECT_EQ(lock.tryTake(dir.file("missing/yomirin.lock")), LockTry::Unavailable);
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing")));

    MountedFolder disk(dir.file("savedata"), 64 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << "cannot mount a read-only disk here: " << disk.why();
    const std::string path = dir.file("savedata/yomirin.lock");
    ASSERT_TRUE(disk.setReadOnly(true));
    EXPECT_EQ(lock.tryTake(path), LockTry::Unavailable);
    // The file an earlier start made still serves in a folder turned read-only.
    ASSERT_TRUE(disk.setReadOnly(false));
    dir.write("savedata/yomirin.lock", "");
    ASSERT_TRUE(disk.setReadOnly(true));
    EXPECT_EQ(lock.tryTake(path), LockTry::Taken);
    ProgramLock second;
    EXPECT_EQ(second.tryTake(path), LockTry::HeldElsewhere);
}
