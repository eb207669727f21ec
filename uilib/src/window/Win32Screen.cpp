// The Win32-style screen, monitor and pointer functions.

#include <chrono>

#include "uilib/core/Defines.h"
#include "uilib/core/Win32Api.h"
#include "uilib/src/dispatch/OnUiThread.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib {

namespace {

using detail::OnUi;

std::vector<backend::Screen> Screens() {
    backend::Backend* b = backend::CurrentBackend();
    return b ? b->Screens() : std::vector<backend::Screen>();
}

// The index of the screen holding pt, -1 when none does.
int ScreenAt(const std::vector<backend::Screen>& screens, POINT pt) {
    for (size_t i = 0; i < screens.size(); ++i) {
        if (PtInRect(screens[i].geometry, pt)) return static_cast<int>(i);
    }
    return -1;
}

// The screen of a window: the one holding its centre, else the primary one.
int ScreenOfWindow(const std::vector<backend::Screen>& screens, HWND hWnd) {
    if (backend::NativeWindow* native = detail::NativeOf(hWnd)) {
        const RECT at = native->Geometry();
        const int index =
            ScreenAt(screens, POINT{(at.left + at.right) / 2, (at.top + at.bottom) / 2});
        if (index >= 0) return index;
    }
    return screens.empty() ? -1 : 0;
}

HMONITOR MonitorHandle(int index) {
    return index < 0 ? nullptr : reinterpret_cast<HMONITOR>(static_cast<std::uintptr_t>(index + 1));
}

}  // namespace

BOOL GetCursorPos(POINT* pt) {
    if (!pt) return FALSE;
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::Backend* b = backend::CurrentBackend();
            if (!b) return FALSE;
            *pt = b->CursorPos();
            return TRUE;
        },
        FALSE);
}

BOOL SetCursorPos(int x, int y) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::Backend* b = backend::CurrentBackend();
            if (!b) return FALSE;
            b->SetCursorPos(POINT{x, y});
            return TRUE;
        },
        FALSE);
}

int GetSystemMetrics(int index) {
    return OnUi<int>(
        [=]() -> int {
            const auto screens = Screens();
            if (screens.empty()) return 0;
            const RECT& g = screens[0].geometry;
            if (index == SM_CXSCREEN) return g.right - g.left;
            if (index == SM_CYSCREEN) return g.bottom - g.top;
            return 0;
        },
        0);
}

HMONITOR MonitorFromWindow(HWND hWnd, DWORD flags) {
    return OnUi<HMONITOR>(
        [=]() -> HMONITOR {
            if (!detail::NativeOf(hWnd) && flags == MONITOR_DEFAULTTONULL) return nullptr;
            return MonitorHandle(ScreenOfWindow(Screens(), hWnd));
        },
        static_cast<HMONITOR>(nullptr));
}

HMONITOR MonitorFromPoint(POINT pt, DWORD flags) {
    return OnUi<HMONITOR>(
        [=]() -> HMONITOR {
            const auto screens = Screens();
            int index = ScreenAt(screens, pt);
            if (index < 0 && flags != MONITOR_DEFAULTTONULL && !screens.empty()) index = 0;
            return MonitorHandle(index);
        },
        static_cast<HMONITOR>(nullptr));
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
    if (!info) return FALSE;
    return OnUi<BOOL>(
        [=]() -> BOOL {
            const auto screens = Screens();
            const auto index =
                static_cast<std::ptrdiff_t>(reinterpret_cast<std::uintptr_t>(monitor)) - 1;
            if (index < 0 || index >= static_cast<std::ptrdiff_t>(screens.size())) return FALSE;
            info->rcMonitor = screens[static_cast<size_t>(index)].geometry;
            info->rcWork = screens[static_cast<size_t>(index)].workArea;
            info->dwFlags = index == 0 ? 1 : 0;  // MONITORINFOF_PRIMARY
            return TRUE;
        },
        FALSE);
}

RECT GetWorkArea(HWND hWnd) {
    return OnUi<RECT>(
        [=]() -> RECT {
            const auto screens = Screens();
            const int index = hWnd ? ScreenOfWindow(screens, hWnd) : (screens.empty() ? -1 : 0);
            return index < 0 ? RECT{0, 0, 0, 0} : screens[static_cast<size_t>(index)].workArea;
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
