#include "WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "TempFiles.h"
#include "UniqueFd.h"

namespace platform {
namespace {

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

}  // namespace

ReadStatus ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) return errno == ENOENT ? ReadStatus::kMissing : ReadStatus::kFailed;
    struct stat info {};
    if (fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadStatus::kFailed;
    char chunk[16384];
    while (true) {
        ssize_t got = read(fd.get(), chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) continue;
            return ReadStatus::kFailed;
        }
        if (got == 0) return ReadStatus::kRead;
        bytes.append(chunk, static_cast<size_t>(got));
    }
}

bool ReplaceFile(const std::string& path, std::string_view bytes) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty()) return false;
    // A killed writer's temporary file goes with the next write into the folder.
    RemoveStaleTempFiles(FolderOf(path));
    const std::string temporary = TempFilePathFor(path);

    UniqueFd fd(open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.valid()) return false;
    struct stat old {};
    bool ok = true;
    if (stat(path.c_str(), &old) == 0) {
        // Keep the owner too when we may (a root process writing a user's file), so
        // that the user can still write it afterwards.
        if (old.st_uid != geteuid() || old.st_gid != getegid())
            (void)!fchown(fd.get(), old.st_uid, old.st_gid);
        ok = fchmod(fd.get(), old.st_mode & 07777) == 0;
    }
    ok = ok && WriteAll(fd.get(), bytes) && fsync(fd.get()) == 0;
    ok = (close(fd.Release()) == 0) && ok;
    ok = ok && rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    // Make the rename itself durable.
    UniqueFd dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.valid()) fsync(dir.get());
    return true;
}

std::string ResolveFileLink(const std::string& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::error_code error;
    std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
    return error ? std::string() : target.string();
}

}  // namespace platform
