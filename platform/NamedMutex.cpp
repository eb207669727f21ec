#include "NamedMutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

std::string LockFilePath(const std::string& name) {
    // A mutex name is one file name: "/" cannot be part of it.
    std::string safe = name;
    for (char& c : safe)
        if (c == '/') c = '_';
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/" + safe + ".lock";
    return "/tmp/" + safe + "-" + std::to_string(geteuid()) + ".lock";
}

}  // namespace

NamedMutex::NamedMutex(const std::string& name) {
    // Close-on-exec: a program started by the holder must not inherit the lock, or
    // the mutex would outlive the process that took it.
    const std::string path = LockFilePath(name);
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return;
    // In the shared /tmp fallback, a file someone else created is not ours to lock:
    // its owner could hold it forever.
    struct stat info {};
    if (fstat(fd, &info) != 0 || info.st_uid != geteuid()) {
        close(fd);
        return;
    }
    // The lock belongs to this open file description, so a second NamedMutex of the
    // same name in this process conflicts with the first one as well.
    int rc;
    do {
        rc = flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        fd_ = fd;
        return;
    }
    alreadyExists_ = errno == EWOULDBLOCK;
    close(fd);
}

NamedMutex::~NamedMutex() {
    // The lock file stays: removing it while another process opens it would let two
    // processes lock two different files of the same name.
    if (fd_ >= 0) close(fd_);
}

}  // namespace platform
