// The Win32-style window functions on top of the framework's windows.

#include <algorithm>

#include "uilib/core/Win32Api.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/dispatch/OnUiThread.h"
#include "uilib/src/window/WindowImpl.h"
#include "uilib/src/window/WindowInput.h"

namespace UiLib {

namespace {

using detail::OnUi;

HWND g_foreground = nullptr;
HWND g_capture = nullptr;

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
            backend::Backend* b = backend::CurrentBackend();
            if (!impl || impl->destroying || !b) return 0;
            auto& slot = impl->timers[id];
            if (!slot)
                slot = b->CreateTimer([hWnd, id] { detail::Deliver(hWnd, WM_TIMER, id, 0); });
            slot->Start(std::max<UINT>(elapseMs, 10));
            return id == 0 ? 1 : id;
        },
        UINT_PTR{0});
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl) return FALSE;
            // Also from inside the timer's own message: a timer may be destroyed there.
            return impl->timers.erase(id) ? TRUE : FALSE;
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
            return impl && impl->visible && impl->native && impl->native->IsMinimized() ? TRUE
                                                                                        : FALSE;
        },
        FALSE);
}

BOOL ShowWindow(HWND hWnd, int cmdShow) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
            if (!impl || !impl->native) return FALSE;
            const BOOL wasVisible = impl->visible ? TRUE : FALSE;
            backend::NativeWindow& native = *impl->native;
            impl->visible = cmdShow != SW_HIDE;
            switch (cmdShow) {
                case SW_HIDE:
                    native.Hide();
                    break;
                case SW_SHOWNOACTIVATE:
                case SW_SHOWNA:
                    native.Show(backend::ShowMode::NoActivate);
                    break;
                case SW_SHOWMINNOACTIVE:
                    native.Show(backend::ShowMode::MinimizedNoActivate);
                    break;
                case SW_SHOWMINIMIZED:
                case SW_MINIMIZE:
                    native.Show(backend::ShowMode::Minimized);
                    break;
                case SW_SHOWMAXIMIZED:
                    native.Show(backend::ShowMode::Maximized);
                    break;
                default:  // SW_SHOWNORMAL, SW_SHOW, SW_RESTORE, SW_SHOWDEFAULT
                    native.Show(backend::ShowMode::Normal);
                    native.BringToFront();
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
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            if (!native) return FALSE;
            const BOOL wasDisabled = native->IsEnabled() ? FALSE : TRUE;
            native->SetEnabled(enable != FALSE);
            return wasDisabled;
        },
        FALSE);
}

BOOL IsWindowEnabled(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            return native && native->IsEnabled() ? TRUE : FALSE;
        },
        FALSE);
}

BOOL SetForegroundWindow(HWND hWnd) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            if (!native) return FALSE;
            g_foreground = hWnd;
            if (native->IsShown()) native->BringToFront();
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
            if (!impl || !impl->native) return FALSE;
            backend::NativeWindow& native = *impl->native;
            if (!(flags & SWP_NOZORDER)) {
                if (insertAfter == HWND_TOPMOST) {
                    impl->exStyle |= WS_EX_TOPMOST;
                    impl->ApplyStyle();
                } else if (insertAfter == HWND_NOTOPMOST) {
                    impl->exStyle &= ~WS_EX_TOPMOST;
                    impl->ApplyStyle();
                }
            }
            if (!(flags & SWP_NOMOVE)) native.Move(POINT{x, y});
            if (!(flags & SWP_NOSIZE)) native.Resize(SIZE{std::max(cx, 1), std::max(cy, 1)});
            if (flags & SWP_HIDEWINDOW) {
                impl->visible = false;
                native.Hide();
            } else if (flags & SWP_SHOWWINDOW) {
                impl->visible = true;
                native.Show((flags & SWP_NOACTIVATE) ? backend::ShowMode::NoActivate
                                                     : backend::ShowMode::Normal);
            }
            if (!(flags & SWP_NOACTIVATE) && native.IsShown()) native.BringToFront();
            if (!(flags & SWP_NOREDRAW)) native.Invalidate(nullptr);
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
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            if (!native || !rect) return FALSE;
            *rect = native->Geometry();
            return TRUE;
        },
        FALSE);
}

BOOL GetClientRect(HWND hWnd, RECT* rect) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            if (!native || !rect) return FALSE;
            const RECT at = native->Geometry();
            *rect = RECT{0, 0, at.right - at.left, at.bottom - at.top};
            return TRUE;
        },
        FALSE);
}

BOOL ClientToScreen(HWND hWnd, POINT* pt) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            if (!native || !pt) return FALSE;
            const RECT at = native->Geometry();
            pt->x += at.left;
            pt->y += at.top;
            return TRUE;
        },
        FALSE);
}

BOOL ScreenToClient(HWND hWnd, POINT* pt) {
    return OnUi<BOOL>(
        [=]() -> BOOL {
            backend::NativeWindow* native = detail::NativeOf(hWnd);
            if (!native || !pt) return FALSE;
            const RECT at = native->Geometry();
            pt->x -= at.left;
            pt->y -= at.top;
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
    if (backend::NativeWindow* old = detail::NativeOf(g_capture)) old->ReleasePointer();
    g_capture = nullptr;
    if (backend::NativeWindow* native = detail::NativeOf(hWnd)) {
        g_capture = hWnd;
        native->GrabPointer();
    }
    return previous;
}

BOOL ReleaseCapture() {
    if (backend::NativeWindow* native = detail::NativeOf(g_capture)) native->ReleasePointer();
    g_capture = nullptr;
    return TRUE;
}

short GetKeyState(int vk) {
    const WPARAM modifiers = detail::KeyModifiers();
    const bool down = (vk == static_cast<int>(VK_SHIFT) && (modifiers & MK_SHIFT)) ||
                      (vk == static_cast<int>(VK_CONTROL) && (modifiers & MK_CONTROL));
    return down ? static_cast<short>(0x8000) : 0;
}

HWND GetCapture() {
    return detail::WindowFromHandle(g_capture) ? g_capture : nullptr;
}

BOOL SetWindowAlpha(HWND hWnd, BYTE alpha) {
    backend::NativeWindow* native = detail::NativeOf(hWnd);
    if (!native) return FALSE;
    native->SetOpacity(alpha);
    return TRUE;
}

BOOL SetWindowRoundCorners(HWND hWnd, int w, int h) {
    backend::NativeWindow* native = detail::NativeOf(hWnd);
    if (!native) return FALSE;
    native->SetRoundCorners(SIZE{w, h});
    return TRUE;
}

BOOL BeginWindowDrag(HWND hWnd) {
    CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
    if (!impl || !impl->input || !impl->native) return FALSE;
    impl->input->BeginDrag();
    return TRUE;
}

}  // namespace UiLib
