#include "uilib/src/dispatch/Dispatch.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <unordered_map>

#include "uilib/src/Backend.h"

namespace UiLib {

namespace {

// The installed backend. Worker threads post through it while the user-interface
// thread may remove it, so posting holds the lock. Never destroyed: a worker still
// running while the process exits may yet post or send; it must find no backend
// then, not a destroyed lock.
struct Installation {
    std::mutex mutex;
    backend::Backend* backend = nullptr;
    std::atomic<bool> installed{false};
    std::atomic<unsigned> generation{0};
    std::thread::id uiThread;
};

Installation& Current() {
    static Installation* const s = new Installation;
    return *s;
}

// The table of window handles; never destroyed for the same reason.
struct HandleTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, CWindowWnd*> windows;
    std::vector<std::uintptr_t> order;
    std::uintptr_t next = 0x10000;
    std::vector<void (*)(HWND)> releaseHooks;
};

HandleTable& Handles() {
    static HandleTable* const t = new HandleTable;
    return *t;
}

struct LoopState {
    bool quit = false;
    int code = 0;
    int running = 0;
};

LoopState& Loops() {
    static LoopState s;
    return s;
}

}  // namespace

namespace backend {

Backend* CurrentBackend() {
    Installation& s = Current();
    std::lock_guard<std::mutex> lock(s.mutex);
    return s.backend;
}

Backend* InstallBackend(Backend* backend) {
    Installation& s = Current();
    std::lock_guard<std::mutex> lock(s.mutex);
    Backend* previous = s.backend;
    s.backend = backend;
    s.installed = backend != nullptr;
    ++s.generation;
    if (backend) s.uiThread = std::this_thread::get_id();
    return previous;
}

}  // namespace backend

namespace detail {

bool IsUiThread() {
    Installation& s = Current();
    if (!s.installed) return true;
    std::lock_guard<std::mutex> lock(s.mutex);
    return !s.backend || s.uiThread == std::this_thread::get_id();
}

unsigned BackendGeneration() {
    return Current().generation;
}

void PostToUi(std::function<void()> fn) {
    Installation& s = Current();
    std::lock_guard<std::mutex> lock(s.mutex);
    if (s.backend) s.backend->Post(std::move(fn));
}

bool RunOnUiBlocking(const std::function<void()>& fn) {
    if (IsUiThread()) {
        fn();
        return true;
    }
    struct Waiter {
        std::mutex mutex;
        std::condition_variable cv;
        bool done = false;
    };
    auto waiter = std::make_shared<Waiter>();
    Installation& s = Current();
    if (!s.installed) return false;
    // fn lives on this thread's stack; the waiter outlives both sides.
    PostToUi([waiter, &fn] {
        fn();
        std::lock_guard<std::mutex> lock(waiter->mutex);
        waiter->done = true;
        waiter->cv.notify_all();
    });
    std::unique_lock<std::mutex> lock(waiter->mutex);
    while (!waiter->done) {
        waiter->cv.wait_for(lock, std::chrono::milliseconds(50));
        if (!waiter->done && !s.installed) return false;
    }
    return true;
}

HWND RegisterWindow(CWindowWnd* wnd) {
    auto& t = Handles();
    std::lock_guard<std::mutex> lock(t.mutex);
    const std::uintptr_t id = t.next;
    t.next += 4;
    t.windows[id] = wnd;
    t.order.push_back(id);
    return reinterpret_cast<HWND>(id);
}

void UnregisterWindow(HWND hWnd) {
    auto& t = Handles();
    std::vector<void (*)(HWND)> hooks;
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        const auto id = reinterpret_cast<std::uintptr_t>(hWnd);
        t.windows.erase(id);
        std::erase(t.order, id);
        hooks = t.releaseHooks;
    }
    // Outside the lock: a hook may ask about other windows.
    for (auto hook : hooks) hook(hWnd);
}

void AddWindowReleaseHook(void (*hook)(HWND)) {
    auto& t = Handles();
    std::lock_guard<std::mutex> lock(t.mutex);
    if (std::find(t.releaseHooks.begin(), t.releaseHooks.end(), hook) == t.releaseHooks.end())
        t.releaseHooks.push_back(hook);
}

CWindowWnd* WindowFromHandle(HWND hWnd) {
    if (!hWnd) return nullptr;
    auto& t = Handles();
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto it = t.windows.find(reinterpret_cast<std::uintptr_t>(hWnd));
    return it == t.windows.end() ? nullptr : it->second;
}

std::vector<HWND> AllWindows() {
    auto& t = Handles();
    std::lock_guard<std::mutex> lock(t.mutex);
    std::vector<HWND> out;
    out.reserve(t.order.size());
    for (auto id : t.order) out.push_back(reinterpret_cast<HWND>(id));
    return out;
}

LRESULT Deliver(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* wnd = WindowFromHandle(hWnd);
    if (!wnd) return 0;
    return wnd->HandleMessage(msg, wParam, lParam);
}

bool QuitRequested() {
    return Loops().quit;
}
int QuitCode() {
    return Loops().code;
}
void ClearQuit() {
    Loops().quit = false;
    Loops().code = 0;
}

void RequestQuit(int code) {
    auto& s = Loops();
    s.quit = true;
    s.code = code;
    WakeLoops();
}

void RunLoopUntil(const std::function<bool()>& done) {
    auto& s = Loops();
    backend::Backend* b = backend::CurrentBackend();
    if (!b || s.quit || done()) return;
    ++s.running;
    // Checked again after every wake-up; windows being destroyed call WakeLoops.
    b->RunLoop([&] { return s.quit || done(); });
    --s.running;
}

void WakeLoops() {
    if (Loops().running == 0) return;
    if (backend::Backend* b = backend::CurrentBackend()) b->WakeLoops();
}

}  // namespace detail
}  // namespace UiLib
