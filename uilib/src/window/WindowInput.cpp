#include "uilib/src/window/WindowInput.h"

#include "uilib/core/PaintManager.h"
#include "uilib/core/Win32Api.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib::detail {

namespace {

using backend::MouseAction;
using backend::MouseButton;

LPARAM PointParam(POINT p) {
    return MAKELPARAM(p.x, p.y);
}

UINT MessageOf(MouseAction action, MouseButton button) {
    const bool left = button == MouseButton::Left;
    switch (action) {
        case MouseAction::Press:
            return left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN;
        case MouseAction::Release:
            return left ? WM_LBUTTONUP : WM_RBUTTONUP;
        case MouseAction::DoubleClick:
            return left ? WM_LBUTTONDBLCLK : WM_RBUTTONDBLCLK;
        case MouseAction::Move:
            return WM_MOUSEMOVE;
    }
    return WM_NULL;
}

}  // namespace

WindowInput::WindowInput(HWND hWnd) : hWnd_(hWnd), access_(hWnd) {}

WindowInput::~WindowInput() = default;

void WindowInput::Detach() {
    hWnd_ = nullptr;
    hover_.reset();
}

LRESULT WindowInput::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd_) return 0;
    return Deliver(hWnd_, msg, wParam, lParam);
}

bool WindowInput::SendToCapture(UINT msg, WPARAM keys, POINT screen) {
    const HWND capture = ::UiLib::GetCapture();
    if (!hWnd_ || !capture || capture == hWnd_) return false;
    backend::NativeWindow* target = NativeOf(capture);
    if (!target || !target->IsShown()) return false;
    const RECT at = target->Geometry();
    Deliver(capture, msg, keys, PointParam(POINT{screen.x - at.left, screen.y - at.top}));
    return true;
}

void WindowInput::BeginDrag() {
    if (hover_) hover_->Stop();
    backend::NativeWindow* native = NativeOf(hWnd_);
    backend::Backend* b = backend::CurrentBackend();
    if (!native || !b || native->StartSystemMove()) return;
    dragging_ = true;
    dragStartScreen_ = b->CursorPos();
    const RECT at = native->Geometry();
    dragStartPos_ = POINT{at.left, at.top};
}

bool WindowInput::HoverPending() const {
    return hover_ && hover_->IsActive();
}

void WindowInput::OnHoverTimer() {
    hover_->Stop();
    backend::NativeWindow* native = NativeOf(hWnd_);
    if (!native) return;
    const RECT at = native->Geometry();
    if (PtInRect(RECT{0, 0, at.right - at.left, at.bottom - at.top}, lastMouse_)) {
        Send(WM_MOUSEHOVER, 0, PointParam(lastMouse_));
    }
}

void WindowInput::OnMouse(MouseAction action, MouseButton button, POINT client, POINT screen,
                          WPARAM keys) {
    if (action == MouseAction::Move) {
        if (dragging_) {
            if (!(keys & MK_LBUTTON)) {
                dragging_ = false;
            } else if (backend::NativeWindow* native = NativeOf(hWnd_)) {
                native->Move(POINT{dragStartPos_.x + screen.x - dragStartScreen_.x,
                                   dragStartPos_.y + screen.y - dragStartScreen_.y});
                return;
            }
        }
        if (SendToCapture(WM_MOUSEMOVE, keys, screen)) return;
        lastMouse_ = client;
        if (!hover_) {
            if (backend::Backend* b = backend::CurrentBackend()) {
                hover_ = b->CreateTimer([this] { OnHoverTimer(); });
            }
        }
        if (hover_) hover_->Start(kHoverMs);
        Send(WM_MOUSEMOVE, keys, PointParam(client));
        return;
    }
    if (button == MouseButton::None) return;
    if (action == MouseAction::Press) lastMouse_ = client;
    if (action == MouseAction::Release && button == MouseButton::Left) dragging_ = false;
    const UINT msg = MessageOf(action, button);
    if (SendToCapture(msg, keys, screen)) return;
    Send(msg, keys, PointParam(client));
}

void WindowInput::OnWheel(int delta, POINT client, POINT screen, WPARAM keys) {
    lastMouse_ = client;
    Send(WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(keys), delta), PointParam(screen));
}

void WindowInput::OnMouseLeave() {
    if (hover_) hover_->Stop();
    Send(WM_MOUSELEAVE, 0, 0);
}

namespace {
// The keyboard state belongs to the user-interface thread, as Win32 keeps it per thread.
WPARAM& ModifiersOfThisThread() {
    thread_local WPARAM modifiers = 0;
    return modifiers;
}
}  // namespace

WPARAM KeyModifiers() {
    return ModifiersOfThisThread();
}

void WindowInput::OnKey(UINT vk, bool down, WPARAM modifiers) {
    ModifiersOfThisThread() = modifiers;
    Send(down ? WM_KEYDOWN : WM_KEYUP, vk, 0);
}

void WindowInput::OnChar(wchar_t ch) {
    Send(WM_CHAR, static_cast<WPARAM>(ch), 0);
}

void WindowInput::OnResized(SIZE client) {
    Send(WM_SIZE, 0, MAKELPARAM(client.cx, client.cy));
}

void WindowInput::OnMoved(POINT topLeft) {
    Send(WM_MOVE, 0, MAKELPARAM(topLeft.x, topLeft.y));
}

void WindowInput::OnCloseRequested() {
    // The window procedure decides: WM_CLOSE's default handling destroys the window.
    Send(WM_CLOSE, 0, 0);
}

void WindowInput::OnActivation(bool active) {
    // The first message may destroy the window and this object with it: nothing of it
    // is touched after a message.
    const HWND hWnd = hWnd_;
    if (!hWnd) return;
    Deliver(hWnd, WM_NCACTIVATE, active ? TRUE : FALSE, 0);
    Deliver(hWnd, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
}

void WindowInput::OnPaint(UiDC& dc, const RECT& dirty) {
    dc.FillRect(dirty, 0xFFFFFFFF);
    if (CPaintManagerUI* manager = ManagerOf(hWnd_)) manager->RenderTo(&dc, dirty);
}

}  // namespace UiLib::detail
