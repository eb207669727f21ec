#pragma once

// The state of one framework window behind its CWindowWnd.

#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>
#include <string>

#include "uilib/core/WindowWnd.h"
#include "uilib/src/WindowHost.h"

namespace platform {
class WindowRegistration;
}

namespace UiLib {

struct CWindowWnd::Impl {
    Impl();
    ~Impl();

    QPointer<detail::WindowHost> host;
    HWND owner = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring title;
    std::wstring className;
    std::map<UINT_PTR, std::unique_ptr<QTimer>> timers;
    std::unique_ptr<platform::WindowRegistration> registration;
    UINT* modalResult = nullptr;
    bool visible = false;
    bool destroying = false;

    // The window's destruction: WM_DESTROY, then the handle and the host go, then
    // OnFinalMessage (which may delete the window object).
    static BOOL Destroy(CWindowWnd* wnd);
    // A posted WM_CLOSE records its wParam as the modal result.
    static void NotePostedClose(CWindowWnd* wnd, WPARAM code);
    // Applies the Qt window flags for the current styles.
    void ApplyFlags();
    void RegisterWithRegistry(HWND hWnd);
    void SetTitle(const std::wstring& text);
    // Stops every timer; the timer objects go once the current event is handled (a
    // timer may be the one whose message is being handled).
    void DropTimers();
};

namespace detail {
CWindowWnd::Impl* ImplOf(HWND hWnd);
}

}  // namespace UiLib
