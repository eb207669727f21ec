#include "uilib/testing/HeadlessInput.h"

#include "uilib/src/window/WindowImpl.h"

namespace UiLib::testing {

namespace {

WPARAM Held(backend::MouseAction action, backend::MouseButton button) {
    if (action == backend::MouseAction::Release) return 0;
    if (button == backend::MouseButton::Left) return MK_LBUTTON;
    if (button == backend::MouseButton::Right) return MK_RBUTTON;
    return 0;
}

bool Printable(UINT vk) {
    return (vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE;
}

}  // namespace

HeadlessInput::HeadlessInput(std::shared_ptr<HeadlessDesktop> desktop)
    : desktop_(std::move(desktop)) {}

HeadlessWindow* HeadlessInput::WindowOf(HWND hWnd) const {
    // A disabled window (the owner of a modal dialog) takes no input, as on a desktop.
    const backend::NativeWindow* native = detail::NativeOf(hWnd);
    for (HeadlessWindow* window : desktop_->windows) {
        if (window == native) return window->IsEnabled() ? window : nullptr;
    }
    return nullptr;
}

POINT HeadlessInput::ToScreen(HeadlessWindow& window, POINT client) const {
    const RECT at = window.Geometry();
    return POINT{at.left + client.x, at.top + client.y};
}

bool HeadlessInput::MoveTo(HWND hWnd, POINT client) {
    HeadlessWindow* window = WindowOf(hWnd);
    if (!window) return IsWindow(hWnd) != FALSE;
    desktop_->cursor = ToScreen(*window, client);
    window->events().OnMouse(backend::MouseAction::Move, backend::MouseButton::None, client,
                             desktop_->cursor, 0);
    return true;
}

bool HeadlessInput::Button(HWND hWnd, POINT client, backend::MouseAction action,
                           backend::MouseButton button) {
    HeadlessWindow* window = WindowOf(hWnd);
    if (!window) return IsWindow(hWnd) != FALSE;
    window->events().OnMouse(action, button, client, ToScreen(*window, client),
                             Held(action, button));
    return true;
}

bool HeadlessInput::DragBy(HWND hWnd, int dx, int dy) {
    HeadlessWindow* window = WindowOf(hWnd);
    if (!window) return false;
    const POINT end{desktop_->cursor.x + dx, desktop_->cursor.y + dy};
    RECT at = window->Geometry();
    window->events().OnMouse(backend::MouseAction::Move, backend::MouseButton::None,
                             POINT{end.x - at.left, end.y - at.top}, end, MK_LBUTTON);
    desktop_->cursor = end;
    window = WindowOf(hWnd);  // the move may have moved the window, or closed it
    if (!window) return true;
    at = window->Geometry();
    window->events().OnMouse(backend::MouseAction::Release, backend::MouseButton::Left,
                             POINT{end.x - at.left, end.y - at.top}, end, 0);
    return true;
}

bool HeadlessInput::Wheel(HWND hWnd, POINT client, int delta) {
    if (!MoveTo(hWnd, client)) return false;
    HeadlessWindow* window = WindowOf(hWnd);
    if (window) window->events().OnWheel(delta, client, ToScreen(*window, client), 0);
    return true;
}

bool HeadlessInput::Leave(HWND hWnd) {
    HeadlessWindow* window = WindowOf(hWnd);
    if (!window) return false;
    window->events().OnMouseLeave();
    return true;
}

bool HeadlessInput::Key(HWND hWnd, UINT vk, WPARAM modifiers) {
    HeadlessWindow* window = WindowOf(hWnd);
    if (!window) return false;
    HeadlessEdit* edit = window->ShownEdit();
    if (!edit || !edit->Key(vk)) {
        // The key reaches the window itself (an edit's Enter too).
        if ((window = WindowOf(hWnd))) window->events().OnKey(vk, true, modifiers);
        if (Printable(vk) && (window = WindowOf(hWnd))) {
            window->events().OnChar(static_cast<wchar_t>(vk));
        }
    }
    if ((window = WindowOf(hWnd))) window->events().OnKey(vk, false, modifiers);
    return true;
}

bool HeadlessInput::CommitText(HWND hWnd, const std::wstring& text) {
    HeadlessWindow* window = WindowOf(hWnd);
    HeadlessEdit* edit = window ? window->ShownEdit() : nullptr;
    if (!edit) return false;
    edit->Type(text);
    return true;
}

}  // namespace UiLib::testing
