#include "Process.h"

#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <thread>

#include "DebugLog.h"
#include "Folders.h"
#include "UniqueFd.h"

extern char** environ;

namespace platform {
namespace {

constexpr const char* kSetpriv = "/usr/bin/setpriv";
constexpr const char* kEnv = "/usr/bin/env";
constexpr auto kKillWait = std::chrono::seconds(5);

bool IsExecutableFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

// Spawns argv[0] (a path) with the caller's environment. The child gets default
// signal handling and an empty signal mask whatever this process set up, and with
// `newSession` a session of its own. Returns the pid, or -1 with errno set.
pid_t Spawn(const std::vector<std::string>& argv, bool newSession) {
    std::vector<char*> pointers;
    for (const std::string& arg : argv) pointers.push_back(const_cast<char*>(arg.c_str()));
    pointers.push_back(nullptr);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (newSession) flags |= POSIX_SPAWN_SETSID;
    posix_spawnattr_setflags(&attributes, flags);
    pid_t pid = -1;
    const int rc =
        posix_spawn(&pid, argv[0].c_str(), nullptr, &attributes, pointers.data(), environ);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
        errno = rc;
        return -1;
    }
    return pid;
}

// The user pkexec ran us for, when this process is root because of pkexec.
std::optional<uid_t> PkexecUser() {
    if (geteuid() != 0) return std::nullopt;
    const char* text = std::getenv("PKEXEC_UID");
    if (!text || !*text) return std::nullopt;
    char* end = nullptr;
    const unsigned long uid = std::strtoul(text, &end, 10);
    if (*end != '\0' || uid == 0) return std::nullopt;
    return static_cast<uid_t>(uid);
}

// argv that starts `program` as `uid` (with that user's groups) through setpriv.
std::vector<std::string> AsUser(uid_t uid, std::vector<std::string> argv) {
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    const bool known = getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found;
    std::vector<std::string> command = {
        kSetpriv, "--reuid=" + std::to_string(uid),
        "--regid=" + std::to_string(known ? found->pw_gid : static_cast<gid_t>(uid)),
        known ? "--init-groups" : "--clear-groups", "--"};
    command.insert(command.end(), argv.begin(), argv.end());
    return command;
}

// Adds NAME=value for every variable the elevated program needs from the user's
// session; the folders are computed, so their defaults travel too.
void AddSessionEnvironment(std::vector<std::string>& command) {
    auto add = [&](const char* name, const std::string& value) {
        if (!value.empty()) command.push_back(std::string(name) + "=" + value);
    };
    auto pass = [&](const char* name) {
        if (const char* value = std::getenv(name)) add(name, value);
    };
    pass("HOME");
    add("XDG_DATA_HOME", AppDataFolder());
    add("XDG_CONFIG_HOME", ConfigFolder());
    for (const char* name :
         {"XDG_RUNTIME_DIR", "TMPDIR", "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY",
          "DBUS_SESSION_BUS_ADDRESS", "LANG", "TROVIK_DEBUG", "TROVIK_OPEN_URL_LOG"})
        pass(name);
}

std::optional<int> WaitForExitStatus(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return std::nullopt;
    return status;
}

bool WaitForExit(int pidfd, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd fd{pidfd, POLLIN, 0};
        const int rc = poll(&fd, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (rc > 0) return true;
        if (rc == 0) return false;
        if (errno != EINTR) return false;
    }
}

bool SendSignal(int pidfd, int signal) {
    return syscall(SYS_pidfd_send_signal, pidfd, signal, nullptr, 0) == 0;
}

// For kernels without process descriptors: signal by pid and poll for the end.
bool TerminateByPolling(pid_t pid, std::chrono::milliseconds grace) {
    auto gone = [pid] {
        if (kill(pid, 0) != 0) return errno == ESRCH;
        // A zombie has ended; only its parent's wait is missing.
        FILE* file = std::fopen(("/proc/" + std::to_string(pid) + "/stat").c_str(), "r");
        if (!file) return true;
        char buffer[512] = {};
        const size_t got = std::fread(buffer, 1, sizeof buffer - 1, file);
        std::fclose(file);
        const std::string_view text(buffer, got);
        const size_t close = text.rfind(')');
        return close != std::string_view::npos && close + 2 < text.size() && text[close + 2] == 'Z';
    };
    auto waitGone = [&](std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (!gone()) {
            if (std::chrono::steady_clock::now() >= deadline) return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return true;
    };
    if (kill(pid, SIGTERM) != 0) return errno == ESRCH;
    if (waitGone(grace)) return true;
    if (kill(pid, SIGKILL) != 0) return errno == ESRCH;
    return waitGone(kKillWait);
}

}  // namespace

std::string FindProgram(const std::string& program) {
    if (program.empty()) return {};
    if (program.find('/') != std::string::npos) return program;
    const char* path = std::getenv("PATH");
    const std::string folders = (path && *path) ? path : "/usr/local/bin:/usr/bin:/bin";
    size_t begin = 0;
    while (begin <= folders.size()) {
        size_t end = folders.find(':', begin);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > begin ? folders.substr(begin, end - begin) : ".";
        const std::string candidate = folder + "/" + program;
        if (IsExecutableFile(candidate)) return candidate;
        begin = end + 1;
    }
    return {};
}

bool StartDetached(const std::string& program, const std::vector<std::string>& args) {
    const std::string path = FindProgram(program);
    if (path.empty() || !IsExecutableFile(path)) return false;
    std::vector<std::string> argv = {path};
    argv.insert(argv.end(), args.begin(), args.end());
    if (auto user = PkexecUser()) argv = AsUser(*user, std::move(argv));
    const pid_t pid = Spawn(argv, true);
    if (pid < 0) {
        DebugOutput("cannot start " + path);
        return false;
    }
    // Reap the child whenever it ends, so that it never lingers as a zombie.
    try {
        std::thread([pid] { WaitForExitStatus(pid); }).detach();
    } catch (const std::system_error&) {
    }
    return true;
}

bool CanWriteFolder(const std::string& folder) {
    if (folder.empty()) return false;
    std::filesystem::path path = std::filesystem::absolute(folder).lexically_normal();
    while (true) {
        struct stat info {};
        if (stat(path.c_str(), &info) == 0)
            return S_ISDIR(info.st_mode) && access(path.c_str(), W_OK | X_OK) == 0;
        if (errno != ENOENT || !path.has_relative_path()) return false;
        path = path.parent_path();
    }
}

ElevatedStart StartThroughElevation(const std::string& program,
                                    const std::vector<std::string>& args) {
    std::string path = FindProgram(program);
    if (!PathExists(path)) return ElevatedStart::kFileMissing;
    if (!IsExecutableFile(path)) return ElevatedStart::kFailed;
    path = std::filesystem::absolute(path).string();

    const char* override = std::getenv("TROVIK_ELEVATE_COMMAND");
    const std::string elevator = FindProgram((override && *override) ? override : "pkexec");
    if (elevator.empty()) {
        DebugOutput("no elevation command (pkexec) available");
        return ElevatedStart::kFailed;
    }
    std::vector<std::string> command = {elevator, kEnv};
    AddSessionEnvironment(command);
    // env would read a program path holding "=" as one more variable.
    if (path.find('=') != std::string::npos)
        command.insert(command.end(), {"/bin/sh", "-c", "exec \"$0\" \"$@\""});
    command.push_back(path);
    command.insert(command.end(), args.begin(), args.end());

    const pid_t pid = Spawn(command, false);
    if (pid < 0) return ElevatedStart::kFailed;
    const std::optional<int> status = WaitForExitStatus(pid);
    if (!status || !WIFEXITED(*status)) return ElevatedStart::kFailed;
    const int code = WEXITSTATUS(*status);
    return (code == 126 || code == 127) ? ElevatedStart::kDeclined : ElevatedStart::kStarted;
}

ElevatedStart StartElevated(const std::string& program, const std::vector<std::string>& args,
                            const std::string& targetFolder) {
    const std::string path = FindProgram(program);
    if (!PathExists(path)) return ElevatedStart::kFileMissing;
    if (CanWriteFolder(targetFolder))
        return StartDetached(path, args) ? ElevatedStart::kStarted : ElevatedStart::kFailed;
    return StartThroughElevation(path, args);
}

bool TerminateProcessById(pid_t pid, std::chrono::milliseconds grace) {
    if (pid <= 0) return false;
    UniqueFd pidfd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    if (!pidfd.valid()) {
        if (errno == ESRCH) return true;
        return TerminateByPolling(pid, grace);
    }
    if (!SendSignal(pidfd.get(), SIGTERM)) return errno == ESRCH;
    if (WaitForExit(pidfd.get(), grace)) return true;
    if (!SendSignal(pidfd.get(), SIGKILL)) return errno == ESRCH;
    return WaitForExit(pidfd.get(), kKillWait);
}

}  // namespace platform
