#include "common/StagedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <random>

namespace {

// "<folder>/.<name>.<random>.part": hidden, next to the target, never a name the
// program looks for.
std::string StagingName(const std::string& target) {
    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : target.substr(0, slash + 1);
    // Cut so that the name stays within the file system's 255 bytes.
    const std::string name =
        (slash == std::string::npos ? target : target.substr(slash + 1)).substr(0, 200);
    thread_local std::mt19937_64 random{std::random_device{}()};
    char suffix[17];
    std::snprintf(suffix, sizeof suffix, "%016llx", static_cast<unsigned long long>(random()));
    return folder + "." + name + "." + suffix + ".part";
}

}  // namespace

StagedFile::StagedFile(std::string targetPath) : targetPath_(std::move(targetPath)) {}

StagedFile::~StagedFile() {
    Discard();
}

bool StagedFile::Open() {
    if (fd_ >= 0) {
        // A restart: the bytes written so far are thrown away.
        return ftruncate(fd_, 0) == 0 && lseek(fd_, 0, SEEK_SET) == 0;
    }
    if (targetPath_.empty() || targetPath_.back() == '/') return false;
    for (int tries = 0; tries < 8; ++tries) {
        std::string candidate = StagingName(targetPath_);
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            stagingPath_ = std::move(candidate);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    return false;
}

bool StagedFile::Write(std::string_view bytes) {
    if (fd_ < 0) return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

bool StagedFile::Commit() {
    if (fd_ < 0) return false;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    if (!closed || std::rename(stagingPath_.c_str(), targetPath_.c_str()) != 0) {
        Discard();
        return false;
    }
    stagingPath_.clear();
    return true;
}

void StagedFile::Discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!stagingPath_.empty()) {
        ::unlink(stagingPath_.c_str());
        stagingPath_.clear();
    }
}
