#include "Folders.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "UniqueFd.h"

namespace platform {
namespace {

// An XDG base-directory variable counts only when it holds an absolute path.
std::string AbsoluteEnv(const char* name) {
    const char* value = std::getenv(name);
    if (value && value[0] == '/') return value;
    return {};
}

std::string WithoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir)
        return found->pw_dir;
    return {};
}

std::string XdgFolder(const char* variable, const char* belowHome) {
    std::string folder = AbsoluteEnv(variable);
    if (folder.empty()) folder = HomeFolder() + belowHome;
    return WithoutTrailingSlashes(std::move(folder));
}

// A folder that only this user may enter: owned by us, a real folder, mode 0700.
bool IsPrivateFolder(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == geteuid() &&
           (info.st_mode & 077) == 0;
}

constexpr std::string_view kDeletedSuffix = " (deleted)";

}  // namespace

std::string AppDataFolder() {
    return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string ConfigFolder() {
    return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string RuntimeFolder() {
    std::string folder = AbsoluteEnv("XDG_RUNTIME_DIR");
    if (!folder.empty()) return WithoutTrailingSlashes(std::move(folder));
    // Without a session runtime folder, a private folder below /tmp stands in. It must
    // not be a folder someone else prepared for us.
    folder = "/tmp/trovik-runtime-" + std::to_string(geteuid());
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    return IsPrivateFolder(folder) ? folder : std::string();
}

std::string TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp && *tmp) ? tmp : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder;
}

std::string ExecutablePath() {
    std::vector<char> buffer(256);
    while (true) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) return {};
        if (static_cast<size_t>(length) < buffer.size()) {
            std::string path(buffer.data(), static_cast<size_t>(length));
            // A replaced executable reads as "<path> (deleted)"; the path it was
            // started from is still the one to report.
            if (path.size() > kDeletedSuffix.size() &&
                std::string_view(path).substr(path.size() - kDeletedSuffix.size()) ==
                    kDeletedSuffix &&
                !PathExists(path))
                path.resize(path.size() - kDeletedSuffix.size());
            return path;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string ExecutableFolder() {
    std::string path = ExecutablePath();
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool MakeDirectoryPath(const std::string& path) {
    if (path.empty()) return false;
    // Walk the levels with one folder descriptor at a time, so neither the path's
    // length nor its depth is limited by a buffer or by PATH_MAX.
    UniqueFd folder(open(path.front() == '/' ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    bool created = false;
    size_t begin = 0;
    while (folder.valid() && begin < path.size()) {
        size_t end = path.find('/', begin);
        if (end == std::string::npos) end = path.size();
        if (end > begin) {  // skip the root and doubled separators
            const std::string level = path.substr(begin, end - begin);
            if (mkdirat(folder.get(), level.c_str(), 0777) == 0) created = true;
            folder.Reset(openat(folder.get(), level.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        }
        begin = end + 1;
    }
    return created;
}

bool PathExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace platform
