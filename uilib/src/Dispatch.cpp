#include "uilib/src/Dispatch.h"

#include <QCoreApplication>
#include <QObject>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace UiLib::detail {

namespace {

struct Dispatcher {
    QObject* object = nullptr;  // lives on the user-interface thread
    std::atomic<bool> running{false};
};

// The dispatcher and the handle table are never destroyed: worker threads are not
// joined, and one that is still running while the process exits (after main() has
// returned) may yet send to a window by its handle; it must find an empty table then,
// not a destroyed one.
Dispatcher& Disp() {
    static Dispatcher* const d = new Dispatcher;
    return *d;
}

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, CWindowWnd*> windows;
    std::vector<std::uintptr_t> order;
    std::uintptr_t next = 0x10000;
};

HandleTable& Handles() {
    static HandleTable* const t = new HandleTable;
    return *t;
}

struct LoopState {
    bool quit = false;
    int code = 0;
    std::vector<QEventLoop*> loops;
};

LoopState& Loops() {
    static LoopState s;
    return s;
}

}  // namespace

bool IsUiThread() {
    // Before the application object exists there is no other thread to hand work to:
    // controls built then (a layout parsed by a tool) are changed directly.
    auto* app = QCoreApplication::instance();
    return !app || QThread::currentThread() == app->thread();
}

void StartDispatch() {
    auto& d = Disp();
    if (!d.object) d.object = new QObject();  // owned here, deleted in StopDispatch
    d.running = true;
}

void StopDispatch() {
    auto& d = Disp();
    d.running = false;
    delete d.object;
    d.object = nullptr;
}

void PostToUi(std::function<void()> fn) {
    auto& d = Disp();
    if (!d.running || !d.object) return;
    QMetaObject::invokeMethod(d.object, std::move(fn), Qt::QueuedConnection);
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
    auto& d = Disp();
    if (!d.running) return false;
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
        if (!waiter->done && !d.running) return false;
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
    std::lock_guard<std::mutex> lock(t.mutex);
    const auto id = reinterpret_cast<std::uintptr_t>(hWnd);
    t.windows.erase(id);
    std::erase(t.order, id);
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
    for (auto* loop : s.loops) loop->exit(code);
}

void RunLoopUntil(const std::function<bool()>& done) {
    auto& s = Loops();
    if (s.quit || done()) return;
    QEventLoop loop;
    s.loops.push_back(&loop);
    // Re-checked after every wake-up; windows being destroyed call WakeLoops.
    while (!s.quit && !done()) {
        loop.exec();
    }
    std::erase(s.loops, &loop);
}

void WakeLoops() {
    for (auto* loop : Loops().loops) loop->exit(0);
}

}  // namespace UiLib::detail
