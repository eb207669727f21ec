#pragma once

// WindowInput: turns what the backend reports of one native window into the window's
// messages (WM_LBUTTONDOWN, WM_MOUSEWHEEL, WM_SIZE, …), and does what Win32 does
// between the two: the hover message after the pointer rested, moving the window by
// hand when the desktop cannot, and handing mouse input to the window that holds the
// capture.
//
// A message may destroy the window, and this object with it: after delivering a
// message no method touches the object any more.

#include <memory>

#include "uilib/src/Backend.h"
#include "uilib/src/window/AccessibleControls.h"

namespace UiLib::detail {

class WindowInput : public backend::WindowEvents {
public:
    explicit WindowInput(HWND hWnd);
    ~WindowInput();
    WindowInput(const WindowInput&) = delete;
    WindowInput& operator=(const WindowInput&) = delete;

    // The window is being destroyed: no more messages.
    void Detach();
    // Starts moving the window with the pointer (the desktop's move, else by hand).
    void BeginDrag();
    // Whether a WM_MOUSEHOVER waits for the pointer to rest.
    bool HoverPending() const;

    void OnMouse(backend::MouseAction action, backend::MouseButton button, POINT client,
                 POINT screen, WPARAM keys) override;
    void OnWheel(int delta, POINT client, POINT screen, WPARAM keys) override;
    void OnMouseLeave() override;
    void OnKey(UINT vk, bool down, WPARAM modifiers) override;
    void OnChar(wchar_t ch) override;
    void OnResized(SIZE client) override;
    void OnMoved(POINT topLeft) override;
    void OnCloseRequested() override;
    void OnActivation(bool active) override;
    void OnPaint(UiDC& dc, const RECT& dirty) override;
    backend::AccessibleTree& Accessibility() override { return access_; }

private:
    LRESULT Send(UINT msg, WPARAM wParam, LPARAM lParam);
    // Mouse input while another shown window holds the capture (SetCapture) without a
    // pointer grab of the desktop (offscreen, or a grab the desktop refused): it goes to
    // that window in its client coordinates, as Win32 delivers it. True when handed on.
    bool SendToCapture(UINT msg, WPARAM keys, POINT screen);
    void OnHoverTimer();

    HWND hWnd_;
    AccessibleControls access_;
    std::unique_ptr<backend::Timer> hover_;
    POINT lastMouse_;
    bool dragging_ = false;
    POINT dragStartScreen_;
    POINT dragStartPos_;
};

// The modifiers (MK_SHIFT, MK_CONTROL) of the keyboard message being handled on the
// user-interface thread: what GetKeyState answers.
WPARAM KeyModifiers();

// How long the pointer rests before WM_MOUSEHOVER (the Win32 default hover time).
inline constexpr UINT kHoverMs = 400;

}  // namespace UiLib::detail
