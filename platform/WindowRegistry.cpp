#include "WindowRegistry.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "CodePage.h"
#include "DebugLog.h"
#include "Folders.h"
#include "UniqueFd.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kAnswerDeadline = std::chrono::seconds(2);
// Every entry of the registry starts with this; the rest is a hash of the names
// (public names) or "p" and a random number (a registration's own socket).
constexpr std::string_view kPrefix = "trovik-window-";
constexpr const char* kLockName = "trovik-windows.lock";

uint64_t Fnv1a(std::string_view bytes, uint64_t basis) {
    uint64_t hash = basis;
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

// A fixed-length name for any class and title, so the socket path always fits.
std::string PublicName(const std::wstring& className, const std::wstring& title) {
    std::string key = WideToUtf8(className);
    key.push_back('\0');
    key += WideToUtf8(title);
    char hex[33];
    std::snprintf(hex, sizeof hex, "%016llx%016llx",
                  static_cast<unsigned long long>(Fnv1a(key, 0xcbf29ce484222325ULL)),
                  static_cast<unsigned long long>(Fnv1a(key, 0x84222325cbf29ce4ULL)));
    return std::string(kPrefix) + hex;
}

std::string PrivateName() {
    unsigned long long random = 0;
    if (getrandom(&random, sizeof random, GRND_NONBLOCK) != sizeof random)
        random = static_cast<unsigned long long>(Clock::now().time_since_epoch().count());
    return std::string(kPrefix) + "p" + std::to_string(getpid()) + "-" + std::to_string(random);
}

// The runtime folder, held open so that entries are addressed relative to it.
struct RegistryFolder {
    std::string path;
    UniqueFd fd;

    static RegistryFolder Open() {
        RegistryFolder folder;
        folder.path = RuntimeFolder();
        if (!folder.path.empty())
            folder.fd.Reset(open(folder.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        return folder;
    }
    bool valid() const { return fd.valid(); }

    // A socket address for entry `name`; a folder path too long for sun_path is
    // reached through the open folder descriptor instead.
    std::optional<sockaddr_un> Address(const std::string& name) const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::string text = path + "/" + name;
        if (text.size() >= sizeof address.sun_path)
            text = "/proc/self/fd/" + std::to_string(fd.get()) + "/" + name;
        if (text.size() >= sizeof address.sun_path) return std::nullopt;
        text.copy(address.sun_path, text.size());
        return address;
    }

    std::optional<struct stat> Stat(const std::string& name) const {
        struct stat info {};
        if (fstatat(fd.get(), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
        return info;
    }
};

// Serialises every change of registry names between processes.
class RegistryLock {
public:
    explicit RegistryLock(const RegistryFolder& folder)
        : fd_(openat(folder.fd.get(), kLockName, O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600)) {
        if (fd_.valid())
            while (flock(fd_.get(), LOCK_EX) != 0 && errno == EINTR) {
            }
    }

private:
    UniqueFd fd_;
};

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

void SetTimeout(int fd, int option, Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::microseconds>(deadline - Clock::now());
    if (left.count() < 1000) left = std::chrono::microseconds(1000);
    timeval value{};
    value.tv_sec = static_cast<time_t>(left.count() / 1000000);
    value.tv_usec = static_cast<suseconds_t>(left.count() % 1000000);
    setsockopt(fd, SOL_SOCKET, option, &value, sizeof value);
}

enum class ConnectResult { kConnected, kStale, kNone };

// Connects to entry `name`; a socket file nobody listens on any more is stale.
ConnectResult Connect(const RegistryFolder& folder, const std::string& name, UniqueFd& socketFd,
                      Clock::time_point deadline) {
    auto address = folder.Address(name);
    if (!address) return ConnectResult::kNone;
    socketFd.Reset(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!socketFd.valid()) return ConnectResult::kNone;
    SetTimeout(socketFd.get(), SO_SNDTIMEO, deadline);  // bounds connect() as well
    while (connect(socketFd.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) !=
           0) {
        if (errno == EINTR) continue;
        return errno == ECONNREFUSED ? ConnectResult::kStale : ConnectResult::kNone;
    }
    return ConnectResult::kConnected;
}

bool IsStale(const RegistryFolder& folder, const std::string& name) {
    UniqueFd probe;
    return Connect(folder, name, probe, Clock::now() + std::chrono::milliseconds(200)) ==
           ConnectResult::kStale;
}

// Removes entry `name` when its owner is gone. Called with the registry lock held.
void RemoveIfStale(const RegistryFolder& folder, const std::string& name) {
    auto info = folder.Stat(name);
    if (info && S_ISSOCK(info->st_mode) && IsStale(folder, name)) {
        unlinkat(folder.fd.get(), name.c_str(), 0);
        DebugOutput("window registry: removed stale entry " + name);
    }
}

// Removes every entry of the registry whose owner is gone.
void SweepStaleEntries(const RegistryFolder& folder) {
    std::vector<std::string> names;
    UniqueFd listing(openat(folder.fd.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    DIR* dir = listing.valid() ? fdopendir(listing.Release()) : nullptr;
    if (!dir) return;
    while (dirent* entry = readdir(dir))
        if (std::string_view(entry->d_name).substr(0, kPrefix.size()) == kPrefix)
            names.emplace_back(entry->d_name);
    closedir(dir);
    for (const std::string& name : names) RemoveIfStale(folder, name);
}

bool SendAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
}

struct Answer {
    std::string line;
    pid_t pid = 0;
};

// Sends one request line to the window registered under the names and reads the
// one-line answer. Nothing when there is no live window or it does not answer in time.
std::optional<Answer> Ask(const std::wstring& className, const std::wstring& title,
                          std::string_view request) {
    const RegistryFolder folder = RegistryFolder::Open();
    if (!folder.valid()) return std::nullopt;
    const std::string name = PublicName(className, title);
    const auto deadline = Clock::now() + kAnswerDeadline;
    UniqueFd fd;
    switch (Connect(folder, name, fd, deadline)) {
        case ConnectResult::kConnected:
            break;
        case ConnectResult::kStale: {
            RegistryLock lock(folder);
            RemoveIfStale(folder, name);
            return std::nullopt;
        }
        case ConnectResult::kNone:
            return std::nullopt;
    }
    ucred peer{};
    socklen_t peerSize = sizeof peer;
    if (getsockopt(fd.get(), SOL_SOCKET, SO_PEERCRED, &peer, &peerSize) != 0 ||
        peer.uid != geteuid())
        return std::nullopt;
    if (!SendAll(fd.get(), std::string(request) + "\n")) return std::nullopt;
    std::string reply;
    char chunk[64];
    while (reply.find('\n') == std::string::npos && reply.size() < 256) {
        SetTimeout(fd.get(), SO_RCVTIMEO, deadline);
        ssize_t got = recv(fd.get(), chunk, sizeof chunk, 0);
        if (got < 0 && errno == EINTR && Clock::now() < deadline) continue;
        if (got <= 0) return std::nullopt;  // closed, or no answer before the deadline
        reply.append(chunk, static_cast<size_t>(got));
    }
    const size_t end = reply.find('\n');
    if (end == std::string::npos) return std::nullopt;
    return Answer{reply.substr(0, end), peer.pid};
}

}  // namespace

struct WindowRegistration::State {
    RegistryFolder folder;
    std::wstring className;
    std::string privateName;  // the socket's own name, never taken over
    std::string publicName;   // a hard link to it named after class and title
    struct stat identity {};
    UniqueFd listener;
    UniqueFd wake;
    std::function<void()> onShow;
    std::thread thread;

    bool OwnsPublicName() const {
        auto info = folder.Stat(publicName);
        return info && SameFile(*info, identity);
    }

    // Points `name` at this window's socket, replacing whatever held that name.
    // Called with the registry lock held.
    bool Publish(const std::string& name) {
        const std::string temporary = privateName + ".new";
        const int dir = folder.fd.get();
        unlinkat(dir, temporary.c_str(), 0);
        if (linkat(dir, privateName.c_str(), dir, temporary.c_str(), 0) != 0) return false;
        if (renameat(dir, temporary.c_str(), dir, name.c_str()) != 0) {
            unlinkat(dir, temporary.c_str(), 0);
            return false;
        }
        return true;
    }

    void Serve(int connection) {
        std::string request;
        char chunk[64];
        const auto deadline = Clock::now() + kAnswerDeadline;
        while (request.find('\n') == std::string::npos && request.size() < 64) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return;
            pollfd fds[2] = {{connection, POLLIN, 0}, {wake.get(), POLLIN, 0}};
            if (poll(fds, 2, static_cast<int>(left.count())) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents) return;  // shutting down
            if (!fds[0].revents) continue;
            ssize_t got = recv(connection, chunk, sizeof chunk, MSG_DONTWAIT);
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            if (got <= 0) return;
            request.append(chunk, static_cast<size_t>(got));
        }
        request.resize(request.find('\n') == std::string::npos ? 0 : request.find('\n'));
        std::string reply = "error\n";
        if (request == "show") {
            try {
                if (onShow) onShow();
            } catch (...) {
                DebugOutput("window registry: the show handler threw");
            }
            reply = "ok\n";
        } else if (request == "ping") {
            reply = "ok\n";
        }
        SendAll(connection, reply);
    }

    void Listen() {
        while (true) {
            pollfd fds[2] = {{listener.get(), POLLIN, 0}, {wake.get(), POLLIN, 0}};
            if (poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (fds[1].revents) return;
            if (!fds[0].revents) continue;
            UniqueFd connection(accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
            if (connection.valid()) Serve(connection.get());
        }
    }
};

WindowRegistration::WindowRegistration(const std::wstring& className, const std::wstring& title,
                                       std::function<void()> onShow)
    : state_(std::make_unique<State>()) {
    State& s = *state_;
    s.onShow = std::move(onShow);
    s.className = className;
    s.folder = RegistryFolder::Open();
    if (!s.folder.valid()) {
        DebugOutput("window registry: no runtime folder; the window cannot be found");
        return;
    }
    s.privateName = PrivateName();
    s.publicName = PublicName(className, title);
    auto address = s.folder.Address(s.privateName);
    s.listener.Reset(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    s.wake.Reset(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!address || !s.listener.valid() || !s.wake.valid()) return;

    RegistryLock lock(s.folder);
    SweepStaleEntries(s.folder);
    if (bind(s.listener.get(), reinterpret_cast<const sockaddr*>(&*address), sizeof *address) !=
            0 ||
        listen(s.listener.get(), 8) != 0) {
        DebugOutput("window registry: cannot listen in " + s.folder.path);
        s.listener.Reset();
        return;
    }
    auto identity = s.folder.Stat(s.privateName);
    if (!identity || !s.Publish(s.publicName)) {
        unlinkat(s.folder.fd.get(), s.privateName.c_str(), 0);
        s.listener.Reset();
        return;
    }
    s.identity = *identity;
    s.thread = std::thread([&s] { s.Listen(); });
}

WindowRegistration::~WindowRegistration() {
    State& s = *state_;
    if (!s.thread.joinable()) return;
    {
        RegistryLock lock(s.folder);
        if (s.OwnsPublicName()) unlinkat(s.folder.fd.get(), s.publicName.c_str(), 0);
        unlinkat(s.folder.fd.get(), s.privateName.c_str(), 0);
    }
    const uint64_t one = 1;
    while (write(s.wake.get(), &one, sizeof one) < 0 && errno == EINTR) {
    }
    s.thread.join();
}

void WindowRegistration::SetTitle(const std::wstring& title) {
    State& s = *state_;
    if (!s.thread.joinable()) return;
    const std::string name = PublicName(s.className, title);
    if (name == s.publicName) return;
    RegistryLock lock(s.folder);
    if (!s.Publish(name)) return;
    if (s.OwnsPublicName()) unlinkat(s.folder.fd.get(), s.publicName.c_str(), 0);
    s.publicName = name;
}

bool FindRegisteredWindow(const std::wstring& className, const std::wstring& title) {
    auto answer = Ask(className, title, "ping");
    return answer && answer->line == "ok";
}

bool ShowRegisteredWindow(const std::wstring& className, const std::wstring& title) {
    auto answer = Ask(className, title, "show");
    return answer && answer->line == "ok";
}

std::optional<pid_t> RegisteredWindowProcess(const std::wstring& className,
                                             const std::wstring& title) {
    auto answer = Ask(className, title, "ping");
    if (!answer || answer->line != "ok") return std::nullopt;
    return answer->pid;
}

std::string RegisteredWindowSocketPath(const std::wstring& className, const std::wstring& title) {
    const std::string folder = RuntimeFolder();
    return folder.empty() ? std::string() : folder + "/" + PublicName(className, title);
}

}  // namespace platform
