#include "common/StagedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/TempFiles.h"

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
    // A killed download's partial file goes with the next download into the folder.
    platform::RemoveStaleTempFiles(platform::FolderOf(targetPath_));
    for (int tries = 0; tries < 8; ++tries) {
        std::string candidate = platform::TempFilePathFor(targetPath_);
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
