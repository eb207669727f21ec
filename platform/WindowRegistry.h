#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// A per-user registry of top-level windows, so that one process can find another
// process's window by class name and title, ask it to show itself and come to the
// front, and learn its process id. Each registered window listens on a UNIX socket
// in $XDG_RUNTIME_DIR whose name is derived from class and title; a lookup connects
// to it. Sockets left by dead processes are ignored and removed.

// Requests are one line each: "show" (call onShow) and "ping"; the answer is "ok".
// The owner's process id comes from the kernel (SO_PEERCRED), and only windows of
// this user count. When two live windows register the same names, the newer one is
// found. A lookup gives up after two seconds, so a hung owner never blocks it.

// Registers one window for as long as the object lives.
class WindowRegistration {
public:
    // `onShow` runs on the registry's own listener thread when another process asks
    // the window to show itself; the owner marshals it to its UI thread. It must not
    // wait for the thread that destroys this object.
    WindowRegistration(const std::wstring& className, const std::wstring& title,
                       std::function<void()> onShow);
    ~WindowRegistration();
    WindowRegistration(const WindowRegistration&) = delete;
    WindowRegistration& operator=(const WindowRegistration&) = delete;

    // Changes the title under which the window can be found.
    void SetTitle(const std::wstring& title);

private:
    struct State;
    std::unique_ptr<State> state_;
};

// True when a live window of another (or this) process is registered under the names.
bool FindRegisteredWindow(const std::wstring& className, const std::wstring& title);

// Asks that window to show itself and come to the front. False when there is none.
bool ShowRegisteredWindow(const std::wstring& className, const std::wstring& title);

// The process id of the process that owns that window, if any.
std::optional<pid_t> RegisteredWindowProcess(const std::wstring& className,
                                             const std::wstring& title);

// The socket through which a window of these names is found (for diagnostics and
// tests); "" without a usable runtime folder.
std::string RegisteredWindowSocketPath(const std::wstring& className, const std::wstring& title);

}  // namespace platform
