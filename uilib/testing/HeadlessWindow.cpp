#include "uilib/testing/HeadlessWindow.h"

#include <algorithm>
#include <limits>

#include "uilib/core/Defines.h"

namespace UiLib::testing {

// ---- HeadlessEdit ----

HeadlessEdit::HeadlessEdit(std::shared_ptr<std::vector<HeadlessEdit*>> siblings,
                           backend::EditEvents& events)
    : siblings_(siblings), events_(events) {
    siblings->push_back(this);
}

HeadlessEdit::~HeadlessEdit() {
    if (auto siblings = siblings_.lock()) std::erase(*siblings, this);
}

void HeadlessEdit::Changed(std::wstring text) {
    if (text.size() > look_.maxLength) text.resize(look_.maxLength);
    if (look_.readOnly || text == text_) return;
    text_ = std::move(text);
    events_.OnTextChanged(text_);
}

void HeadlessEdit::Type(const std::wstring& text) {
    Changed(text_ + text);
}

bool HeadlessEdit::Key(UINT vk) {
    if (vk == VK_RETURN) {
        events_.OnReturn();
        return false;  // Enter goes on to the window as well, as with a native line edit
    }
    if (vk == VK_BACK) {
        if (!text_.empty()) Changed(text_.substr(0, text_.size() - 1));
        return true;
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9') || vk == VK_SPACE) {
        Changed(text_ + static_cast<wchar_t>(vk));
        return true;
    }
    return vk == VK_LEFT || vk == VK_RIGHT || vk == VK_HOME || vk == VK_END || vk == VK_DELETE;
}

// ---- HeadlessWindow ----

HeadlessWindow::HeadlessWindow(std::shared_ptr<HeadlessDesktop> desktop,
                               backend::WindowEvents& events)
    : desktop_(std::move(desktop)),
      events_(events),
      edits_(std::make_shared<std::vector<HeadlessEdit*>>()) {
    desktop_->windows.insert(this);
}

HeadlessWindow::~HeadlessWindow() {
    desktop_->windows.erase(this);
    if (desktop_->active == this) desktop_->active = nullptr;
}

void HeadlessWindow::SetStyle(bool topmost, bool toolWindow) {
    topmost_ = topmost;
    toolWindow_ = toolWindow;
}

void HeadlessWindow::Move(POINT topLeft) {
    if (topLeft.x == geometry_.left && topLeft.y == geometry_.top) return;
    geometry_ = RECT{topLeft.x, topLeft.y, topLeft.x + RectWidth(geometry_),
                     topLeft.y + RectHeight(geometry_)};
    events_.OnMoved(topLeft);
}

void HeadlessWindow::Resize(SIZE size) {
    const LONG w = std::clamp<LONG>(
        size.cx, std::max<LONG>(1, min_.cx),
        max_.cx > 0 ? std::max(max_.cx, min_.cx) : std::numeric_limits<LONG>::max());
    const LONG h = std::clamp<LONG>(
        size.cy, std::max<LONG>(1, min_.cy),
        max_.cy > 0 ? std::max(max_.cy, min_.cy) : std::numeric_limits<LONG>::max());
    if (w == RectWidth(geometry_) && h == RectHeight(geometry_)) return;
    geometry_.right = geometry_.left + w;
    geometry_.bottom = geometry_.top + h;
    events_.OnResized(SIZE{w, h});
}

void HeadlessWindow::SetSizeLimits(SIZE min, SIZE max) {
    min_ = min;
    max_ = max;
    Resize(SIZE{RectWidth(geometry_), RectHeight(geometry_)});
}

void HeadlessWindow::Show(backend::ShowMode mode) {
    shown_ = true;
    switch (mode) {
        case backend::ShowMode::Minimized:
        case backend::ShowMode::MinimizedNoActivate:
            minimized_ = true;
            break;
        case backend::ShowMode::Maximized:
            minimized_ = false;
            Move(POINT{desktop_->workArea.left, desktop_->workArea.top});
            if (Alive())
                Resize(SIZE{RectWidth(desktop_->workArea), RectHeight(desktop_->workArea)});
            break;
        case backend::ShowMode::Normal:
        case backend::ShowMode::NoActivate:
            minimized_ = false;
            break;
    }
}

void HeadlessWindow::Hide() {
    shown_ = false;
    minimized_ = false;
    if (desktop_->active == this) Deactivate();
}

void HeadlessWindow::Deactivate() {
    desktop_->active = nullptr;
    events_.OnActivation(false);
}

void HeadlessWindow::BringToFront() {
    if (!shown_ || desktop_->active == this) return;
    if (HeadlessWindow* old = desktop_->active) {
        old->Deactivate();
        if (!Alive() || !shown_) return;  // the old window's deactivation changed things
    }
    desktop_->active = this;
    events_.OnActivation(true);
}

std::unique_ptr<backend::NativeEdit> HeadlessWindow::CreateEdit(backend::EditEvents& events) {
    return std::make_unique<HeadlessEdit>(edits_, events);
}

std::vector<DrawCall> HeadlessWindow::Paint() {
    const RECT client{0, 0, RectWidth(geometry_), RectHeight(geometry_)};
    RecordingCanvas canvas(client);
    events_.OnPaint(canvas, client);
    return canvas.calls();
}

HeadlessEdit* HeadlessWindow::ShownEdit() const {
    for (HeadlessEdit* edit : *edits_) {
        if (edit->IsShown()) return edit;
    }
    return nullptr;
}

}  // namespace UiLib::testing
