#include "platform/WindowRegistry.h"

#include <dirent.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/Folders.h"
#include "platform/UniqueFd.h"
#include "platform/tests/ChildProcess.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/WaitFor.h"

namespace platform {
namespace {

using platformtest::ChildProcess;
using platformtest::HelperPath;

std::vector<std::string> RegistryEntries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (dirent* entry = readdir(dir))
        if (std::string(entry->d_name).rfind("trovik-window-", 0) == 0)
            names.emplace_back(entry->d_name);
    closedir(dir);
    return names;
}

// A UNIX socket bound at `path` that listens but never answers.
UniqueFd SilentListener(const std::string& path) {
    UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof address.sun_path - 1);
    if (bind(fd.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd.get(), 4) != 0)
        return UniqueFd();
    return fd;
}

TEST(WindowRegistry, FindsShowsAndIdentifiesAWindowOfThisProcess) {
    testsupport::IsolatedEnv env;
    std::atomic<int> shown{0};
    std::atomic<bool> onOtherThread{false};
    const auto testThread = std::this_thread::get_id();
    WindowRegistration window(L"TrovikarClient", L"Trovik", [&] {
        onOtherThread = std::this_thread::get_id() != testThread;
        ++shown;
    });
    EXPECT_TRUE(FindRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_EQ(RegisteredWindowProcess(L"TrovikarClient", L"Trovik"), getpid());
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(ShowRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_EQ(shown, 1);  // answered only after the handler ran
    EXPECT_TRUE(onOtherThread);

    // Class and title must both match, exactly.
    EXPECT_FALSE(FindRegisteredWindow(L"TrovikarClient", L"trovik"));
    EXPECT_FALSE(FindRegisteredWindow(L"Morvane", L"Trovik"));
    EXPECT_FALSE(ShowRegisteredWindow(L"TrovikarClientTrovik", L""));
    EXPECT_FALSE(RegisteredWindowProcess(L"Other", L"Trovik").has_value());
    EXPECT_EQ(shown, 1);
}

TEST(WindowRegistry, GoneWithTheRegistration) {
    testsupport::IsolatedEnv env;
    {
        WindowRegistration window(L"Morvane", L"自动更新程序", [] {});
        EXPECT_TRUE(FindRegisteredWindow(L"Morvane", L"自动更新程序"));
        EXPECT_EQ(RegistryEntries(env.runtimeDir()).size(), 2u);
    }
    EXPECT_FALSE(FindRegisteredWindow(L"Morvane", L"自动更新程序"));
    EXPECT_TRUE(RegistryEntries(env.runtimeDir()).empty());
}

TEST(WindowRegistry, WindowOfAnotherProcess) {
    testsupport::IsolatedEnv env;
    const std::string log = env.root() / "shown.log";
    ChildProcess child({HelperPath(), "register-window", "Morvane", "自动更新程序", log});
    ASSERT_EQ(child.ReadLine(), "ready");
    EXPECT_TRUE(FindRegisteredWindow(L"Morvane", L"自动更新程序"));
    EXPECT_EQ(RegisteredWindowProcess(L"Morvane", L"自动更新程序"), child.pid());
    EXPECT_TRUE(ShowRegisteredWindow(L"Morvane", L"自动更新程序"));
    EXPECT_TRUE(ShowRegisteredWindow(L"Morvane", L"自动更新程序"));
    EXPECT_EQ(testsupport::ReadFile(log), "show\nshow\n");

    child.CloseInput();  // the helper ends and unregisters
    ASSERT_TRUE(child.Wait().has_value());
    EXPECT_FALSE(FindRegisteredWindow(L"Morvane", L"自动更新程序"));
    EXPECT_TRUE(RegistryEntries(env.runtimeDir()).empty());
}

TEST(WindowRegistry, EntriesOfKilledProcessesAreIgnoredAndCleaned) {
    testsupport::IsolatedEnv env;
    const std::string log = env.root() / "shown.log";
    ChildProcess child({HelperPath(), "register-window", "TrovikarClient", "Trovik", log});
    ASSERT_EQ(child.ReadLine(), "ready");
    const std::string socketPath = RegisteredWindowSocketPath(L"TrovikarClient", L"Trovik");
    ASSERT_TRUE(PathExists(socketPath));
    child.Kill(SIGKILL);
    ASSERT_TRUE(child.Wait().has_value());
    EXPECT_EQ(RegistryEntries(env.runtimeDir()).size(), 2u);  // left behind by the kill

    EXPECT_FALSE(FindRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_FALSE(PathExists(socketPath));  // the lookup removed the dead entry
    EXPECT_FALSE(ShowRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_FALSE(RegisteredWindowProcess(L"TrovikarClient", L"Trovik").has_value());

    // A new registration sweeps whatever else the dead process left.
    WindowRegistration next(L"Morvane", L"x", [] {});
    EXPECT_EQ(RegistryEntries(env.runtimeDir()).size(), 2u);
    EXPECT_TRUE(FindRegisteredWindow(L"Morvane", L"x"));
    EXPECT_EQ(testsupport::ReadFile(log), "");
}

TEST(WindowRegistry, ANewTitleReplacesTheOldOne) {
    testsupport::IsolatedEnv env;
    int shown = 0;
    WindowRegistration window(L"TrovikarClient", L"Trovik", [&] { ++shown; });
    window.SetTitle(L"Trovik - 搜索");
    EXPECT_FALSE(FindRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_TRUE(ShowRegisteredWindow(L"TrovikarClient", L"Trovik - 搜索"));
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(RegistryEntries(env.runtimeDir()).size(), 2u);
}

TEST(WindowRegistry, TheNewestOfTwoSameNamedWindowsIsFound) {
    testsupport::IsolatedEnv env;
    int firstShown = 0, secondShown = 0;
    WindowRegistration first(L"Morvane", L"自动更新程序", [&] { ++firstShown; });
    {
        WindowRegistration second(L"Morvane", L"自动更新程序", [&] { ++secondShown; });
        EXPECT_TRUE(ShowRegisteredWindow(L"Morvane", L"自动更新程序"));
        EXPECT_EQ(secondShown, 1);
        EXPECT_EQ(firstShown, 0);
    }
    // The older window's own entry is untouched by the newer one's end.
    EXPECT_EQ(RegistryEntries(env.runtimeDir()).size(), 1u);
}

TEST(WindowRegistry, AHungWindowDoesNotBlockTheCaller) {
    testsupport::IsolatedEnv env;
    const std::string path = RegisteredWindowSocketPath(L"TrovikarClient", L"Trovik");
    UniqueFd hung = SilentListener(path);
    ASSERT_TRUE(hung.valid());
    // Connects, asks, and gives up after its deadline; the entry is alive, so it stays.
    EXPECT_FALSE(ShowRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_TRUE(PathExists(path));
}

TEST(WindowRegistry, SilentCallerDoesNotDelayDestruction) {
    testsupport::IsolatedEnv env;
    std::optional<WindowRegistration> window;
    window.emplace(L"TrovikarClient", L"Trovik", [] {});
    // A caller that connects and never sends keeps the listener busy...
    UniqueFd silent(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    RegisteredWindowSocketPath(L"TrovikarClient", L"Trovik")
        .copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(connect(silent.get(), reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    // ...and the destructor still ends the listener: the connection is closed or
    // reset, without an answer.
    window.reset();
    char byte;
    EXPECT_LE(recv(silent.get(), &byte, 1, 0), 0);
    EXPECT_FALSE(FindRegisteredWindow(L"TrovikarClient", L"Trovik"));
}

TEST(WindowRegistry, WorksBelowALongRuntimeFolder) {
    testsupport::IsolatedEnv env;
    const std::string runtime =
        env.runtimeDir() + "/" + std::string(60, 'r') + "/" + std::string(60, 's');
    ASSERT_TRUE(MakeDirectoryPath(runtime));
    ASSERT_GT(runtime.size() + 50, sizeof(sockaddr_un::sun_path));
    testsupport::ScopedEnv longRuntime("XDG_RUNTIME_DIR", runtime);
    int shown = 0;
    WindowRegistration window(L"TrovikarClient", L"Trovik", [&] { ++shown; });
    EXPECT_TRUE(ShowRegisteredWindow(L"TrovikarClient", L"Trovik"));
    EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace platform
