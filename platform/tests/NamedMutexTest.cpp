#include "platform/NamedMutex.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>

#include "platform/Folders.h"
#include "platform/tests/ChildProcess.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/WaitFor.h"

namespace platform {
namespace {

using platformtest::ChildProcess;
using platformtest::HelperPath;

TEST(NamedMutex, FirstOwnsAndSecondSeesItExists) {
    testsupport::IsolatedEnv env;
    NamedMutex first("MUTEX_TROVIK");
    EXPECT_TRUE(first.owned());
    EXPECT_FALSE(first.alreadyExists());
    {
        // A second open in the same process conflicts as well.
        NamedMutex second("MUTEX_TROVIK");
        EXPECT_TRUE(second.alreadyExists());
        EXPECT_FALSE(second.owned());
    }
    NamedMutex other("MUTEX_MORVANE");
    EXPECT_TRUE(other.owned());
    EXPECT_TRUE(PathExists(env.runtimeDir() + "/MUTEX_TROVIK.lock"));
}

TEST(NamedMutex, ReleasedWhenTheHolderIsDestroyed) {
    testsupport::IsolatedEnv env;
    { NamedMutex holder("MUTEX_TROVIK"); }
    NamedMutex next("MUTEX_TROVIK");
    EXPECT_TRUE(next.owned());
}

TEST(NamedMutex, AnotherProcessSeesTheHolder) {
    testsupport::IsolatedEnv env;
    NamedMutex mine("MUTEX_TROVIK");
    ASSERT_TRUE(mine.owned());
    ChildProcess child({HelperPath(), "hold-mutex", "MUTEX_TROVIK"});
    EXPECT_EQ(child.ReadLine(), "exists");
}

TEST(NamedMutex, FreedWhenTheHolderIsKilled) {
    testsupport::IsolatedEnv env;
    ChildProcess holder({HelperPath(), "hold-mutex", "MUTEX_TROVIK"});
    ASSERT_EQ(holder.ReadLine(), "owned");
    {
        NamedMutex whileHeld("MUTEX_TROVIK");
        EXPECT_TRUE(whileHeld.alreadyExists());
    }
    holder.Kill(SIGKILL);
    ASSERT_TRUE(holder.Wait().has_value());
    NamedMutex after("MUTEX_TROVIK");
    EXPECT_TRUE(after.owned());
}

TEST(NamedMutex, NotInheritedByStartedPrograms) {
    // A program started by the holder must not keep the mutex alive after the
    // holder is gone: the lock is close-on-exec.
    testsupport::IsolatedEnv env;
    std::optional<NamedMutex> holder;
    holder.emplace("MUTEX_TROVIK");
    ASSERT_TRUE(holder->owned());
    ChildProcess started({"/bin/sh", "-c", "echo started; read line"});
    ASSERT_EQ(started.ReadLine(), "started");
    holder.reset();
    NamedMutex again("MUTEX_TROVIK");
    EXPECT_TRUE(again.owned());
}

TEST(NamedMutex, ALockFileOfAnotherUserIsNotUsed) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to give the lock file away";
    testsupport::IsolatedEnv env;
    const std::string path = env.runtimeDir() + "/MUTEX_TROVIK.lock";
    testsupport::WriteFile(path, "");
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    NamedMutex mutex("MUTEX_TROVIK");
    EXPECT_FALSE(mutex.owned());
    EXPECT_FALSE(mutex.alreadyExists());
}

TEST(NamedMutex, FallsBackToTmpWithoutRuntimeFolder) {
    testsupport::IsolatedEnv env;
    testsupport::ScopedEnv noRuntime("XDG_RUNTIME_DIR", std::nullopt);
    const std::string name = "TROVIK_TEST_MUTEX_" + std::to_string(getpid());
    const std::string path = "/tmp/" + name + "-" + std::to_string(geteuid()) + ".lock";
    {
        NamedMutex mutex(name);
        EXPECT_TRUE(mutex.owned());
        EXPECT_TRUE(PathExists(path));
        ChildProcess child({HelperPath(), "hold-mutex", name});
        EXPECT_EQ(child.ReadLine(), "exists");
    }
    unlink(path.c_str());
}

}  // namespace
}  // namespace platform
