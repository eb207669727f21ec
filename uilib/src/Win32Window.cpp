// The Win32-style window functions on top of the framework's windows.

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <chrono>

#include "uilib/Win32Api.h"
#include "uilib/src/Dispatch.h"
#include "uilib/src/WindowImpl.h"

namespace UiLib {

namespace {

// Runs f on the user-interface thread (directly there, blocking from elsewhere).
template <typename R, typename F>
R OnUi(F f, R fallback) {
    if (detail::IsUiThread()) return f();
    R result = fallback;
    detail::RunOnUiBlocking([&] { result = f(); });
    return result;
}

HWND g_foreground = nullptr;
HWND g_capture = nullptr;

QScreen* ScreenOf(HWND hWnd) {
    if (detail::WindowHost* host = detail::HostOf(hWnd)) {
        if (QScreen* s = QGuiApplication::screenAt(host->geometry().center())) return s;
        if (host->screen()) return host->screen();
    }
    return QGuiApplication::primaryScreen();
}

RECT ToRect(const QRect& r) {
    return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

}  // namespace

LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (detail::IsUiThread()) return detail::Deliver(hWnd, msg, wParam, lParam);
    if (!detail::WindowFromHandle(hWnd)) return 0;
    LRESULT result = 0;
    detail::RunOnUiBlocking([&] { result = detail::Deliver(hWnd, msg, wParam, lParam); });
    return result;
}

BOOL PostMessageW(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!detail::WindowFromHandle(hWnd)) return FALSE;
    detail::PostToUi([hWnd, msg, wParam, lParam] {
        CWindowWnd* wnd = detail::WindowFromHandle(hWnd);
        if (!wnd) return;
        if (msg == WM_CLOSE) CWindowWnd::Impl::NotePostedClose(wnd, wParam);
        wnd->HandleMessage(msg, wParam, lParam);
    });
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    detail::PostToUi([exitCode] { detail::RequestQuit(exitCode); });
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapseMs) {
    return OnUi<UINT_PTR>(
        [=]() -> UINT_PTR {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl || impl->destroying) return 0;
            auto& slot = impl->timers[id];
            if (!slot) {
                slot = std::make_unique<QTimer>();
                QObject::connect(slot.get(), &QTimer::timeout,
                                 [hWnd, id] { detail::Deliver(hWnd, WM_TIMER, id, 0); });
            }
            slot->start(static_cast<int>(std::max<UINT>(elapseMs, 10)));
            return id == 0 ? 1 : id;
        },
        UINT_PTR{0});
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl) return FALSE;
            const auto it = impl->timers.find(id);
            if (it == impl->timers.end()) return FALSE;
            it->second->stop();
            // Deleting a timer from inside its own timeout is safe only later.
            it->second.release()->deleteLater();
            impl->timers.erase(it);
            return TRUE;
        },
        FALSE);
}

BOOL IsWindow(HWND hWnd) {
    return detail::WindowFromHandle(hWnd) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            return impl && impl->visible ? TRUE : FALSE;
        },
        FALSE);
}

BOOL IsIconic(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            return impl && impl->visible && impl->host && impl->host->isMinimized() ? TRUE : FALSE;
        },
        FALSE);
}

BOOL ShowWindow(HWND hWnd, int cmdShow) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl || !impl->host) return FALSE;
            const BOOL wasVisible = impl->visible ? TRUE : FALSE;
            detail::WindowHost* host = impl->host;
            switch (cmdShow) {
                case SW_HIDE:
                    impl->visible = false;
                    host->hide();
                    break;
                case SW_SHOWNOACTIVATE:
                case SW_SHOWNA:
                case SW_SHOWMINNOACTIVE:
                    impl->visible = true;
                    host->setAttribute(Qt::WA_ShowWithoutActivating, true);
                    if (cmdShow == SW_SHOWMINNOACTIVE) {
                        host->showMinimized();
                    } else {
                        host->show();
                    }
                    host->setAttribute(Qt::WA_ShowWithoutActivating, false);
                    break;
                case SW_SHOWMINIMIZED:
                case SW_MINIMIZE:
                    impl->visible = true;
                    host->showMinimized();
                    break;
                case SW_SHOWMAXIMIZED:
                    impl->visible = true;
                    host->showMaximized();
                    break;
                default:  // SW_SHOWNORMAL, SW_SHOW, SW_RESTORE, SW_SHOWDEFAULT
                    impl->visible = true;
                    if (host->isMinimized()) {
                        host->showNormal();
                    } else {
                        host->show();
                    }
                    host->raise();
                    host->activateWindow();
                    g_foreground = hWnd;
                    break;
            }
            return wasVisible;
        },
        FALSE);
}

BOOL DestroyWindow(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd* wnd = detail::WindowFromHandle(hWnd);
            if (!wnd) return FALSE;
            if (g_foreground == hWnd) g_foreground = nullptr;
            return CWindowWnd::Impl::Destroy(wnd);
        },
        FALSE);
}

BOOL EnableWindow(HWND hWnd, BOOL enable) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            if (!host) return FALSE;
            const BOOL wasDisabled = host->isEnabled() ? FALSE : TRUE;
            host->setEnabled(enable != FALSE);
            return wasDisabled;
        },
        FALSE);
}

BOOL IsWindowEnabled(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            return host && host->isEnabled() ? TRUE : FALSE;
        },
        FALSE);
}

BOOL SetForegroundWindow(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            if (!host) return FALSE;
            g_foreground = hWnd;
            if (host->isVisible()) {
                host->raise();
                host->activateWindow();
            }
            return TRUE;
        },
        FALSE);
}

HWND GetForegroundWindow() {
    return detail::WindowFromHandle(g_foreground) ? g_foreground : nullptr;
}

BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl || !impl->host) return FALSE;
            detail::WindowHost* host = impl->host;
            if (!(flags & SWP_NOZORDER)) {
                if (insertAfter == HWND_TOPMOST) {
                    impl->exStyle |= WS_EX_TOPMOST;
                    impl->ApplyFlags();
                } else if (insertAfter == HWND_NOTOPMOST) {
                    impl->exStyle &= ~WS_EX_TOPMOST;
                    impl->ApplyFlags();
                }
            }
            if (!(flags & SWP_NOMOVE)) host->move(x, y);
            if (!(flags & SWP_NOSIZE)) host->resize(std::max(cx, 1), std::max(cy, 1));
            if (flags & SWP_HIDEWINDOW) {
                impl->visible = false;
                host->hide();
            } else if (flags & SWP_SHOWWINDOW) {
                impl->visible = true;
                host->setAttribute(Qt::WA_ShowWithoutActivating, (flags & SWP_NOACTIVATE) != 0);
                host->show();
                host->setAttribute(Qt::WA_ShowWithoutActivating, false);
            }
            if (!(flags & SWP_NOACTIVATE) && host->isVisible()) {
                host->raise();
                host->activateWindow();
            }
            if (!(flags & SWP_NOREDRAW)) host->update();
            return TRUE;
        },
        FALSE);
}

BOOL MoveWindow(HWND hWnd, int x, int y, int cx, int cy, BOOL repaint) {
    return SetWindowPos(hWnd, nullptr, x, y, cx, cy,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL GetWindowRect(HWND hWnd, RECT* rect) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            if (!host || !rect) return FALSE;
            *rect = ToRect(host->geometry());
            return TRUE;
        },
        FALSE);
}

BOOL GetClientRect(HWND hWnd, RECT* rect) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            if (!host || !rect) return FALSE;
            *rect = RECT{0, 0, host->width(), host->height()};
            return TRUE;
        },
        FALSE);
}

BOOL ClientToScreen(HWND hWnd, POINT* pt) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            if (!host || !pt) return FALSE;
            pt->x += host->x();
            pt->y += host->y();
            return TRUE;
        },
        FALSE);
}

BOOL ScreenToClient(HWND hWnd, POINT* pt) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            detail::WindowHost* host = detail::HostOf(hWnd);
            if (!host || !pt) return FALSE;
            pt->x -= host->x();
            pt->y -= host->y();
            return TRUE;
        },
        FALSE);
}

HWND GetParent(HWND hWnd) {
    CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
    return impl && ::UiLib::IsWindow(impl->owner) ? impl->owner : nullptr;
}

BOOL SetWindowTextW(HWND hWnd, LPCTSTR text) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl) return FALSE;
            impl->SetTitle(text ? text : L"");
            return TRUE;
        },
        FALSE);
}

std::wstring GetWindowText(HWND hWnd) {
    return OnUi<std::wstring>(
        [=]() -> std::wstring {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            return impl ? impl->title : std::wstring();
        },
        std::wstring());
}

std::wstring GetClassName(HWND hWnd) {
    return OnUi<std::wstring>(
        [=]() -> std::wstring {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            return impl ? impl->className : std::wstring();
        },
        std::wstring());
}

HWND FindWindowW(LPCTSTR className, LPCTSTR title) {
    return OnUi<HWND>(
        [=]() -> HWND {
            for (HWND h : detail::AllWindows()) {
                CWindowWnd::Impl* impl = detail::ImplOf(h);
                if (!impl || impl->owner) continue;
                if (className && impl->className != className) continue;
                if (title && impl->title != title) continue;
                return h;
            }
            return nullptr;
        },
        static_cast<HWND>(nullptr));
}

HWND SetCapture(HWND hWnd) {
    const HWND previous = g_capture;
    if (detail::WindowHost* old = detail::HostOf(g_capture)) {
        if (QWidget::mouseGrabber() == old) old->releaseMouse();
    }
    g_capture = nullptr;
    if (detail::WindowHost* host = detail::HostOf(hWnd)) {
        g_capture = hWnd;
        host->GrabPointer();
    }
    return previous;
}

BOOL ReleaseCapture() {
    if (detail::WindowHost* host = detail::HostOf(g_capture)) {
        if (QWidget::mouseGrabber() == host) host->releaseMouse();
    }
    g_capture = nullptr;
    return TRUE;
}

HWND GetCapture() {
    return detail::WindowFromHandle(g_capture) ? g_capture : nullptr;
}

BOOL SetWindowAlpha(HWND hWnd, BYTE alpha) {
    detail::WindowHost* host = detail::HostOf(hWnd);
    if (!host) return FALSE;
    host->setWindowOpacity(alpha / 255.0);
    return TRUE;
}

BOOL SetWindowRoundCorners(HWND hWnd, int w, int h) {
    detail::WindowHost* host = detail::HostOf(hWnd);
    if (!host) return FALSE;
    host->SetRoundCorners(w, h);
    return TRUE;
}

BOOL BeginWindowDrag(HWND hWnd) {
    detail::WindowHost* host = detail::HostOf(hWnd);
    if (!host) return FALSE;
    host->BeginDrag();
    return TRUE;
}

BOOL GetCursorPos(POINT* pt) {
    if (!pt) return FALSE;
    return OnUi<BOOL>(
        [=]() -> BOOL {
            const QPoint p = QCursor::pos();
            pt->x = p.x();
            pt->y = p.y();
            return TRUE;
        },
        FALSE);
}

BOOL SetCursorPos(int x, int y) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            QCursor::setPos(x, y);
            return TRUE;
        },
        FALSE);
}

int GetSystemMetrics(int index) {
    return OnUi<int>(
        [=]() -> int {
            QScreen* s = QGuiApplication::primaryScreen();
            if (!s) return 0;
            if (index == SM_CXSCREEN) return s->geometry().width();
            if (index == SM_CYSCREEN) return s->geometry().height();
            return 0;
        },
        0);
}

HMONITOR MonitorFromWindow(HWND hWnd, DWORD flags) {
    return OnUi<HMONITOR>(
        [=]() -> HMONITOR {
            QScreen* s = ScreenOf(hWnd);
            if (!detail::HostOf(hWnd) && flags == MONITOR_DEFAULTTONULL) return nullptr;
            const int index = static_cast<int>(QGuiApplication::screens().indexOf(s));
            return index < 0 ? nullptr
                             : reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(index + 1));
        },
        static_cast<HMONITOR>(nullptr));
}

HMONITOR MonitorFromPoint(POINT pt, DWORD flags) {
    return OnUi<HMONITOR>(
        [=]() -> HMONITOR {
            QScreen* s = QGuiApplication::screenAt(QPoint(pt.x, pt.y));
            if (!s) {
                if (flags == MONITOR_DEFAULTTONULL) return nullptr;
                s = QGuiApplication::primaryScreen();
            }
            const int index = static_cast<int>(QGuiApplication::screens().indexOf(s));
            return index < 0 ? nullptr
                             : reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(index + 1));
        },
        static_cast<HMONITOR>(nullptr));
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    if (!info) return FALSE;
    return OnUi<BOOL>(
        [=]() -> BOOL {
            const auto screens = QGuiApplication::screens();
            const auto index =
                static_cast<qsizetype>(reinterpret_cast<std::uintptr_t>(monitor)) - 1;
            if (index < 0 || index >= screens.size()) return FALSE;
            info->rcMonitor = ToRect(screens[index]->geometry());
            info->rcWork = ToRect(screens[index]->availableGeometry());
            info->dwFlags = screens[index] == QGuiApplication::primaryScreen() ? 1 : 0;
            return TRUE;
        },
        FALSE);
}

RECT GetWorkArea(HWND hWnd) {
    return OnUi<RECT>(
        [=]() -> RECT {
            QScreen* s = hWnd ? ScreenOf(hWnd) : QGuiApplication::primaryScreen();
            return s ? ToRect(s->availableGeometry()) : RECT{0, 0, 0, 0};
        },
        RECT{});
}

DWORD GetTickCount() {
    // Milliseconds of a monotonic clock, wrapping at 32 bits like the Win32 tick count.
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                  std::chrono::steady_clock::now().time_since_epoch())
                                  .count());
}

}  // namespace UiLib
