#pragma once

#include <string>

namespace platform {

// A named, per-user mutex that tells whether another live process holds it: an
// exclusive flock on "<name>.lock" in $XDG_RUNTIME_DIR (fallback
// /tmp/<name>-<uid>.lock). The kernel drops the lock when the holder dies, even by
// SIGKILL, so a crashed instance never blocks the next start.
class NamedMutex {
public:
    explicit NamedMutex(const std::string& name);
    ~NamedMutex();
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    // True when the mutex was held at construction ("already exists"): by another
    // process, or by another NamedMutex object of this process. This object then holds
    // nothing.
    bool alreadyExists() const { return alreadyExists_; }
    // True when this object holds the mutex.
    bool owned() const { return fd_ >= 0 && !alreadyExists_; }

private:
    int fd_ = -1;
    bool alreadyExists_ = false;
};

}  // namespace platform
