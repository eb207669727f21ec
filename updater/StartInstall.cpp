#include "updater/StartInstall.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/DebugLog.h"
#include "platform/Folders.h"
#include "platform/Process.h"
#include "platform/UniqueFd.h"
#include "platform/WindowRegistry.h"
#include "updater/InstallStep.h"
#include "updater/ProgramStart.h"
#include "updater/UpdaterConfig.h"

namespace {

const std::vector<std::string> kInstallArguments = {"copyfile"};

// A program the user may change must never run as root.
bool SafeToElevate(const std::string& program) {
    struct stat info {};
    if (stat(program.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return access(program.c_str(), W_OK) != 0 && info.st_uid == 0;
}

}  // namespace

bool EndClient(const std::wstring& className, const std::wstring& windowText,
               std::chrono::milliseconds wait) {
    if (className.empty() && windowText.empty()) return false;
    const auto until = std::chrono::steady_clock::now() + wait;
    std::optional<pid_t> pid = platform::RegisteredWindowProcess(className, windowText);
    while (!pid && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        pid = platform::RegisteredWindowProcess(className, windowText);
    }
    if (!pid || *pid == getpid()) return false;
    return platform::TerminateProcessById(*pid);
}

bool CopyRunningProgram(const std::string& path) {
    platform::UniqueFd in(open("/proc/self/exe", O_RDONLY | O_CLOEXEC));
    if (!in.valid()) return false;
    const std::string temporary = path + ".part";
    unlink(temporary.c_str());
    platform::UniqueFd out(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0755));
    if (!out.valid()) return false;
    char buffer[65536];
    bool ok = true;
    while (ok) {
        const ssize_t got = read(in.get(), buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            ok = errno == EINTR;
            continue;
        }
        for (ssize_t done = 0; ok && done < got;) {
            const ssize_t put = write(out.get(), buffer + done, static_cast<size_t>(got - done));
            if (put < 0 && errno != EINTR) ok = false;
            if (put > 0) done += put;
        }
    }
    ok = ok && fchmod(out.get(), 0755) == 0 && fsync(out.get()) == 0;
    out.Reset();
    if (ok && rename(temporary.c_str(), path.c_str()) == 0) return true;
    unlink(temporary.c_str());
    return false;
}

void StartInstall(const UpdaterConfig& config) {
    // A few seconds at most, spent only when no client has registered its window.
    EndClient(config.clientClassText, config.clientWindowText, std::chrono::seconds(3));
    if (platform::CanWriteFolder(config.appPath)) {
        const std::string copy = config.dataFolder + "morvane";
        const std::string program = CopyRunningProgram(copy) ? copy : platform::ExecutablePath();
        if (!RunProgram(program, kInstallArguments)) RestartClient(config, false);
        return;
    }
    const std::string own = config.appPath + "/morvane";
    if (!SafeToElevate(own)) {
        platform::DebugOutput("MS - " + own + " 可被用户修改, 不以管理员身份运行");
        RestartClient(config, false);
        return;
    }
    if (RunAsAdmin(own, kInstallArguments) == platform::ElevatedStart::kStarted) {
        // The elevated step has ended: what it installed leaves the staging folder, and
        // the client comes back as this user, without its updater while files remain.
        ReconcilePending(config);
        RestartClient(config, !platform::PathExists(config.pendingListPath));
    } else {
        RestartClient(config, false);
    }
}
