#include "platform/Process.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/Folders.h"
#include "platform/tests/ChildProcess.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/WaitFor.h"

namespace platform {
namespace {

using platformtest::ChildProcess;
using platformtest::HelperPath;
using platformtest::RunWithoutPrivileges;
using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::WaitFor;
using testsupport::WriteFile;

// Writes an executable shell script.
std::string Script(const std::string& path, const std::string& body) {
    WriteFile(path, "#!/bin/sh\n" + body);
    chmod(path.c_str(), 0755);
    return path;
}

// Waits until `path` exists; scripts write to a temporary name and rename, so an
// existing file is complete.
std::string WaitForFile(const std::string& path) {
    EXPECT_TRUE(WaitFor([&] { return PathExists(path); })) << path;
    return ReadFile(path);
}

// A script that writes its arguments, one per line, to `out`.
std::string ArgumentRecorder(const testsupport::IsolatedEnv& env, const std::string& out) {
    return Script(env.root() / "record.sh", "printf '%s\\n' \"$@\" > '" + out + ".tmp' && mv '" +
                                                out + ".tmp' '" + out + "'\n");
}

TEST(StartDetached, PassesArgumentsWithoutAShell) {
    testsupport::IsolatedEnv env;
    const std::string out = env.root() / "args";
    const std::string recorder = ArgumentRecorder(env, out);
    ASSERT_TRUE(StartDetached(recorder, {"a b", "'q'", "$HOME", "*", ""}));
    EXPECT_EQ(WaitForFile(out), "a b\n'q'\n$HOME\n*\n\n");
}

TEST(StartDetached, ChildRunsInItsOwnSessionAndIsReaped) {
    testsupport::IsolatedEnv env;
    const std::string out = env.root() / "ids";
    ASSERT_TRUE(StartDetached("sh",  // found through PATH
                              {"-c", "echo $$ $(cut -d' ' -f6 /proc/$$/stat) > '" + out +
                                         ".tmp'; mv '" + out + ".tmp' '" + out + "'"}));
    std::istringstream ids(WaitForFile(out));
    pid_t pid = 0, session = 0;
    ids >> pid >> session;
    ASSERT_GT(pid, 0);
    EXPECT_EQ(session, pid);
    // Once it has ended nothing of it remains, not even a zombie.
    EXPECT_TRUE(WaitFor([&] { return !PathExists("/proc/" + std::to_string(pid)); }));
}

TEST(StartDetached, FailsForMissingOrUnrunnablePrograms) {
    testsupport::IsolatedEnv env;
    EXPECT_FALSE(StartDetached(env.root() / "missing", {}));
    EXPECT_FALSE(StartDetached("no-such-program-trovik", {}));
    EXPECT_FALSE(StartDetached("", {}));
    WriteFile(env.root() / "plain.txt", "not a program");
    EXPECT_FALSE(StartDetached(env.root() / "plain.txt", {}));
    EXPECT_FALSE(StartDetached(env.root().path().string(), {}));
}

TEST(StartDetached, UnderPkexecRunsAsTheAuthenticatedUser) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can start programs as another user";
    testsupport::IsolatedEnv env;
    chmod(env.root().path().c_str(), 0755);
    const std::string shared = env.root() / "shared";
    ASSERT_TRUE(MakeDirectoryPath(shared));
    chmod(shared.c_str(), 0777);
    ScopedEnv pkexecUser("PKEXEC_UID", "65534");
    const std::string out = shared + "/uid";
    ASSERT_TRUE(StartDetached(
        "/bin/sh", {"-c", "id -u > '" + out + ".tmp'; mv '" + out + ".tmp' '" + out + "'"}));
    EXPECT_EQ(WaitForFile(out), "65534\n");
}

TEST(CanWriteFolder, WritableMissingAndBlockedFolders) {
    testsupport::IsolatedEnv env;
    EXPECT_TRUE(CanWriteFolder(env.root().path().string()));
    EXPECT_TRUE(CanWriteFolder(env.root() / "not/yet/there"));
    WriteFile(env.root() / "file", "x");
    EXPECT_FALSE(CanWriteFolder(env.root() / "file"));
    EXPECT_FALSE(CanWriteFolder(env.root() / "file/below"));
    EXPECT_FALSE(CanWriteFolder(""));

    chmod(env.root().path().c_str(), 0755);
    const std::string install = env.root() / "install";
    ASSERT_TRUE(MakeDirectoryPath(install));
    chmod(install.c_str(), 0555);
    EXPECT_EQ(RunWithoutPrivileges([&] { return CanWriteFolder(install) ? 1 : 0; }), 0);
    EXPECT_EQ(RunWithoutPrivileges([&] { return CanWriteFolder(install + "/sub") ? 1 : 0; }), 0);
}

class StartElevatedTest : public ::testing::Test {
protected:
    void SetUp() override {
        chmod(env_.root().path().c_str(), 0755);
        output_ = env_.root() / "output";
        MakeDirectoryPath(output_);
        chmod(output_.c_str(), 0777);
        elevateLog_ = output_ + "/elevate.log";
    }

    // A stand-in for pkexec that records its arguments and ends with `exitCode`, or
    // runs the program like pkexec does when `exitCode` is negative.
    void FakeElevation(int exitCode) {
        const std::string run =
            exitCode < 0 ? "exec \"$@\"\n" : "exit " + std::to_string(exitCode) + "\n";
        const std::string fake = Script(env_.root() / "fake-pkexec",
                                        "printf '%s\\n' \"$@\" > '" + elevateLog_ + "'\n" + run);
        elevateCommand_.emplace("TROVIK_ELEVATE_COMMAND", fake);
    }

    // A program that records its arguments and XDG_DATA_HOME.
    std::string Program() {
        return Script(env_.root() / "install-step",
                      "printf '%s\\n' \"$@\" \"data=$XDG_DATA_HOME\" > '" + output_ +
                          "/ran.tmp'; mv '" + output_ + "/ran.tmp' '" + output_ + "/ran'\n");
    }

    testsupport::IsolatedEnv env_;
    std::string elevateLog_;
    std::string output_;
    std::optional<ScopedEnv> elevateCommand_;
};

TEST_F(StartElevatedTest, WritableTargetStartsDirectly) {
    FakeElevation(126);
    EXPECT_EQ(StartElevated(Program(), {"copyfile"}, env_.root() / "install"),
              ElevatedStart::kStarted);
    EXPECT_EQ(WaitForFile(output_ + "/ran"), "copyfile\ndata=" + env_.dataHome() + "\n");
    EXPECT_FALSE(PathExists(elevateLog_));
}

TEST_F(StartElevatedTest, GrantedElevationRunsTheProgramWithTheUsersFolders) {
    FakeElevation(-1);
    ScopedEnv noDataHome("XDG_DATA_HOME", std::nullopt);  // the default travels as well
    const std::string program = Program();
    EXPECT_EQ(StartThroughElevation(program, {"copyfile", "two words"}), ElevatedStart::kStarted);
    // The elevation command waits for the program, so it has run already.
    EXPECT_EQ(ReadFile(output_ + "/ran"),
              "copyfile\ntwo words\ndata=" + env_.home() + "/.local/share\n");
    const std::string log = ReadFile(elevateLog_);
    EXPECT_EQ(log.rfind("/usr/bin/env\n", 0), 0u) << log;
    EXPECT_NE(log.find("\nHOME=" + env_.home() + "\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\nXDG_RUNTIME_DIR=" + env_.runtimeDir() + "\n"), std::string::npos);
    EXPECT_NE(log.find("\n" + program + "\ncopyfile\ntwo words\n"), std::string::npos) << log;
}

TEST_F(StartElevatedTest, DismissedOrRefusedAuthenticationIsDeclined) {
    for (int code : {126, 127}) {
        FakeElevation(code);
        EXPECT_EQ(StartThroughElevation(Program(), {"copyfile"}), ElevatedStart::kDeclined) << code;
        EXPECT_TRUE(PathExists(elevateLog_));
        EXPECT_FALSE(PathExists(output_ + "/ran"));
    }
    FakeElevation(1);  // pkexec passes on the program's own exit status
    EXPECT_EQ(StartThroughElevation(Program(), {}), ElevatedStart::kStarted);
}

TEST_F(StartElevatedTest, MissingProgramOrElevationCommand) {
    FakeElevation(-1);
    EXPECT_EQ(StartElevated(env_.root() / "missing", {}, "/"), ElevatedStart::kFileMissing);
    EXPECT_EQ(StartThroughElevation(env_.root() / "missing", {}), ElevatedStart::kFileMissing);
    EXPECT_EQ(StartElevated(env_.root() / "missing", {}, env_.root() / "x"),
              ElevatedStart::kFileMissing);
    EXPECT_FALSE(PathExists(elevateLog_));

    ScopedEnv noElevation("TROVIK_ELEVATE_COMMAND", env_.root() / "no-pkexec");
    EXPECT_EQ(StartThroughElevation(Program(), {}), ElevatedStart::kFailed);
}

TEST_F(StartElevatedTest, UnwritableTargetAsksForElevation) {
    const std::string install = env_.root() / "install";
    ASSERT_TRUE(MakeDirectoryPath(install));
    chmod(install.c_str(), 0555);
    FakeElevation(126);
    const std::string program = Program();
    const int result = RunWithoutPrivileges(
        [&] { return static_cast<int>(StartElevated(program, {"copyfile"}, install)); });
    EXPECT_EQ(result, static_cast<int>(ElevatedStart::kDeclined));
    EXPECT_TRUE(PathExists(elevateLog_));
}

TEST(TerminateProcessById, EndsACooperativeProcess) {
    ChildProcess child({"/bin/sh", "-c", "echo ready; read line"});
    ASSERT_EQ(child.ReadLine(), "ready");
    EXPECT_TRUE(TerminateProcessById(child.pid()));
    auto status = child.Wait();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGTERM);
}

TEST(TerminateProcessById, KillsAProcessThatIgnoresTermination) {
    ChildProcess child({HelperPath(), "ignore-term"});
    ASSERT_EQ(child.ReadLine(), "ready");
    EXPECT_TRUE(TerminateProcessById(child.pid(), std::chrono::milliseconds(100)));
    auto status = child.Wait();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFSIGNALED(*status) && WTERMSIG(*status) == SIGKILL);
}

TEST(TerminateProcessById, GoneInvalidAndForbiddenProcesses) {
    pid_t ended;
    {
        ChildProcess child({"/bin/true"});
        ended = child.pid();
        ASSERT_TRUE(child.Wait().has_value());
    }
    EXPECT_TRUE(TerminateProcessById(ended));
    EXPECT_FALSE(TerminateProcessById(0));
    EXPECT_FALSE(TerminateProcessById(-1));
    // Another user's process may not be ended: this test process, seen from
    // "nobody", or init seen from an ordinary user.
    if (geteuid() == 0) {
        const pid_t self = getpid();
        EXPECT_EQ(RunWithoutPrivileges([&] { return TerminateProcessById(self) ? 1 : 0; }), 0);
    } else {
        EXPECT_FALSE(TerminateProcessById(1));
    }
}

}  // namespace
}  // namespace platform
