#pragma once

// The state of one framework window behind its CWindowWnd.

#include <map>
#include <memory>
#include <string>

#include "uilib/core/WindowAnnouncer.h"
#include "uilib/core/WindowWnd.h"
#include "uilib/src/Backend.h"

namespace UiLib {

class CPaintManagerUI;

namespace detail {
class WindowInput;
}

struct CWindowWnd::Impl {
    Impl();
    ~Impl();

    std::unique_ptr<detail::WindowInput> input;  // the native window's events
    std::unique_ptr<backend::NativeWindow> native;
    CPaintManagerUI* manager = nullptr;  // paints the window and routes its input
    HWND owner = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring title;
    std::wstring className;
    std::map<UINT_PTR, std::unique_ptr<backend::Timer>> timers;
    std::unique_ptr<IWindowAnnouncement> announcement;
    UINT* modalResult = nullptr;
    bool visible = false;
    bool destroying = false;

    // The window's destruction: WM_DESTROY, then the handle and the native window go,
    // then OnFinalMessage (which may delete the window object).
    static BOOL Destroy(CWindowWnd* wnd);
    // A posted WM_CLOSE records its wParam as the modal result.
    static void NotePostedClose(CWindowWnd* wnd, WPARAM code);
    // The native window's style for the current WS_EX_* bits.
    void ApplyStyle();
    void Announce(HWND hWnd);
    void SetTitle(const std::wstring& text);
    // Everything of a window that goes with its handle: timers, announcement, tray
    // icons, capture, the native window; the owner is enabled again.
    void Release(HWND hWnd);
};

namespace detail {
CWindowWnd::Impl* ImplOf(HWND hWnd);
backend::NativeWindow* NativeOf(HWND hWnd);
// The paint manager that draws the window, or null.
CPaintManagerUI* ManagerOf(HWND hWnd);
// Tells the window which paint manager draws it (null: none any more).
void SetManagerOf(HWND hWnd, CPaintManagerUI* manager);
// The window's picture as it would appear now: laid out, painted, and transparent
// outside its shape, at pixelRatio picture pixels per unit.
backend::Bitmap SnapshotWindow(HWND hWnd, double pixelRatio = 1.0);
// Whether a WM_MOUSEHOVER waits for the pointer to rest.
bool HoverPending(HWND hWnd);
}  // namespace detail

}  // namespace UiLib
