#include "TempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <memory>
#include <random>

namespace platform {
namespace {

constexpr char kSuffix[] = ".trovik-tmp";
constexpr size_t kSuffixLength = sizeof kSuffix - 1;
constexpr size_t kRandomDigits = 16;
// The target's name is cut to this many bytes: the rest of the name takes at most 50.
constexpr size_t kMaxTargetNameBytes = 200;

std::uint64_t RandomBits() {
    std::uint64_t bits = 0;
    if (getrandom(&bits, sizeof bits, GRND_NONBLOCK) == sizeof bits) return bits;
    thread_local std::mt19937_64 fallback{std::random_device{}()};
    return fallback();
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// Whether the process may still be writing: it runs (or cannot be asked about).
bool WriterRuns(long pid) {
    if (pid == static_cast<long>(getpid())) return true;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

}  // namespace

std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string TempFilePathFor(const std::string& targetPath) {
    const std::string folder = FolderOf(targetPath);
    const std::string name = targetPath.substr(folder.size(), kMaxTargetNameBytes);
    char unique[64];
    std::snprintf(unique, sizeof unique, "%ld-%016llx", static_cast<long>(getpid()),
                  static_cast<unsigned long long>(RandomBits()));
    return folder + "." + name + "." + unique + kSuffix;
}

bool ParseTempFileName(const std::string& name, long* pid) {
    // "." name "." pid "-" 16 hex suffix; the target's own name may hold dots.
    if (name.size() < 1 + 1 + 1 + 1 + kRandomDigits + kSuffixLength || name[0] != '.') return false;
    if (name.compare(name.size() - kSuffixLength, kSuffixLength, kSuffix) != 0) return false;
    const size_t randomEnd = name.size() - kSuffixLength;
    const size_t randomStart = randomEnd - kRandomDigits;
    for (size_t i = randomStart; i < randomEnd; ++i)
        if (!IsHexDigit(name[i])) return false;
    if (name[randomStart - 1] != '-') return false;
    const size_t pidEnd = randomStart - 1;
    const size_t dot = name.rfind('.', pidEnd - 1);
    if (dot == std::string::npos || dot < 2 || dot + 1 == pidEnd || pidEnd - dot - 1 > 9)
        return false;
    long value = 0;
    for (size_t i = dot + 1; i < pidEnd; ++i) {
        if (name[i] < '0' || name[i] > '9') return false;
        value = value * 10 + (name[i] - '0');
    }
    if (value <= 0) return false;
    if (pid) *pid = value;
    return true;
}

int RemoveStaleTempFiles(const std::string& folder) {
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.empty() ? "." : folder.c_str()),
                                                  closedir);
    if (!dir) return 0;
    const int dirFd = dirfd(dir.get());
    const std::time_t now = std::time(nullptr);
    const auto staleSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(kStaleTempAge).count();
    int removed = 0;
    while (const dirent* entry = readdir(dir.get())) {
        long pid = 0;
        if (!ParseTempFileName(entry->d_name, &pid)) continue;
        struct stat info {};
        if (fstatat(dirFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode))
            continue;
        const bool old = now - info.st_mtime > staleSeconds;
        if (!old && WriterRuns(pid)) continue;
        if (unlinkat(dirFd, entry->d_name, 0) == 0) ++removed;
    }
    return removed;
}

}  // namespace platform
