#include "updater/SafeFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "updater/FileDigest.h"

using platform::UniqueFd;

namespace {

constexpr size_t kCopyBytes = 256 * 1024;

bool ReadAll(int fd, char* buffer, size_t size, ssize_t& got) {
    while (true) {
        got = read(fd, buffer, size);
        if (got >= 0) return true;
        if (errno != EINTR) return false;
    }
}

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t put = write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += put;
        size -= static_cast<size_t>(put);
    }
    return true;
}

// A short temporary name derived from the target's name: an install interrupted by a
// kill leaves at most one such file per target, reused by the next attempt.
std::string TemporaryName(const std::string& name) {
    unsigned hash = 2166136261u;
    for (unsigned char c : name) hash = (hash ^ c) * 16777619u;
    char text[32];
    std::snprintf(text, sizeof text, ".morvane-%08x.part", hash);
    return text;
}

mode_t ModeForNewFile(const char* head, ssize_t size) {
    const bool program =
        (size >= 4 && head[0] == 0x7f && head[1] == 'E' && head[2] == 'L' && head[3] == 'F') ||
        (size >= 2 && head[0] == '#' && head[1] == '!');
    return program ? 0755 : 0644;
}

}  // namespace

UniqueFd OpenFolderBelow(const std::string& base, const std::vector<std::string>& folders,
                         bool create) {
    UniqueFd dir(open(base.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    for (const std::string& name : folders) {
        if (!dir.valid()) break;
        int next = openat(dir.get(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (next < 0 && errno == ENOENT && create) {
            if (mkdirat(dir.get(), name.c_str(), 0755) == 0 || errno == EEXIST)
                next = openat(dir.get(), name.c_str(),
                              O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        }
        dir.Reset(next);
    }
    return dir;
}

UniqueFd OpenFileBelow(const std::string& base, const std::vector<std::string>& components) {
    if (components.empty()) return UniqueFd();
    const std::vector<std::string> folders(components.begin(), components.end() - 1);
    const UniqueFd dir = OpenFolderBelow(base, folders, false);
    if (!dir.valid()) return UniqueFd();
    UniqueFd file(openat(dir.get(), components.back().c_str(),
                         O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) return UniqueFd();
    return file;
}

bool FileHasDigestBelow(const std::string& base, const std::vector<std::string>& components,
                        const ExpectedDigest& expected) {
    const UniqueFd file = OpenFileBelow(base, components);
    return file.valid() && FdHasDigest(file.get(), expected);
}

InstallResult InstallFileBelow(int source, const std::string& targetBase,
                               const std::vector<std::string>& components,
                               const ExpectedDigest& expected) {
    if (source < 0 || components.empty()) return InstallResult::kSourceMissing;
    const std::vector<std::string> folders(components.begin(), components.end() - 1);
    const std::string& name = components.back();
    const UniqueFd dir = OpenFolderBelow(targetBase, folders, true);
    if (!dir.valid()) return InstallResult::kFailed;

    std::vector<char> buffer(kCopyBytes);
    ssize_t got = 0;
    if (lseek(source, 0, SEEK_SET) != 0 || !ReadAll(source, buffer.data(), buffer.size(), got))
        return InstallResult::kFailed;
    struct stat existing {};
    const bool replaces = fstatat(dir.get(), name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
                          S_ISREG(existing.st_mode);
    const mode_t mode = replaces ? (existing.st_mode & 07777) : ModeForNewFile(buffer.data(), got);

    const std::string temporary = TemporaryName(name);
    UniqueFd out(openat(dir.get(), temporary.c_str(),
                        O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.valid()) return InstallResult::kFailed;
    auto discard = [&](InstallResult result) {
        out.Reset();
        unlinkat(dir.get(), temporary.c_str(), 0);
        return result;
    };

    ContentDigest digest;
    while (got > 0) {
        digest.Update(buffer.data(), static_cast<size_t>(got));
        if (!WriteAll(out.get(), buffer.data(), static_cast<size_t>(got)))
            return discard(InstallResult::kFailed);
        if (!ReadAll(source, buffer.data(), buffer.size(), got))
            return discard(InstallResult::kFailed);
    }
    if (!digest.FinishMatches(expected)) return discard(InstallResult::kDigestMismatch);
    if (fchmod(out.get(), mode) != 0 || fsync(out.get()) != 0)
        return discard(InstallResult::kFailed);
    out.Reset();
    if (renameat(dir.get(), temporary.c_str(), dir.get(), name.c_str()) != 0)
        return discard(InstallResult::kFailed);
    fsync(dir.get());
    return InstallResult::kInstalled;
}
