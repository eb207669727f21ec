#include "uilib/testing/UiTestDriver.h"

#include <fstream>

#include "uilib/src/desktop/Tray.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib::testing {

using backend::MouseAction;
using backend::MouseButton;

UiTestDriver::UiTestDriver(TestBackend& headless) : backend_(&headless), input_(headless.Input()) {}

UiTestDriver::~UiTestDriver() {
    ownBackend_.reset();  // the Qt backend again, and the tray as the desktop has it
    Pump();
    detail::ClearQuit();
}

// ---- Event loop ----

void UiTestDriver::Pump() {
    backend::Backend* b = backend::CurrentBackend();
    if (!b) return;
    for (int i = 0; i < 3; ++i) b->ProcessPending();
}

bool UiTestDriver::PumpUntil(const std::function<bool()>& condition,
                             std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (true) {
        Pump();
        if (condition()) return true;
        backend::Backend* b = backend::CurrentBackend();
        if (!b || std::chrono::steady_clock::now() >= end) return condition();
        // Let timers come due without spinning.
        bool rested = false;
        const auto rest = b->CreateTimer([&] {
            rested = true;
            b->WakeLoops();
        });
        rest->Start(5);
        b->RunLoop([&] { return rested; });
    }
}

void UiTestDriver::Defer(std::function<void()> fn) {
    detail::PostToUi(std::move(fn));
}

bool UiTestDriver::QuitRequested() const {
    return detail::QuitRequested();
}
int UiTestDriver::QuitCode() const {
    return detail::QuitCode();
}
void UiTestDriver::ResetQuit() {
    detail::ClearQuit();
}

// ---- Controls and input ----

CPaintManagerUI* UiTestDriver::Manager(HWND hWnd) const {
    return detail::ManagerOf(hWnd);
}

CControlUI* UiTestDriver::Find(HWND hWnd, LPCTSTR name) const {
    CPaintManagerUI* manager = Manager(hWnd);
    return manager ? manager->FindControl(name) : nullptr;
}

POINT UiTestDriver::CenterOf(HWND hWnd, LPCTSTR name) const {
    CPaintManagerUI* manager = Manager(hWnd);
    if (!manager) return POINT{-1, -1};
    manager->UpdateLayout();
    CControlUI* control = manager->FindControl(name);
    if (!control || !control->IsVisible()) return POINT{-1, -1};
    const RECT& rc = control->GetPos();
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

bool UiTestDriver::Press(HWND hWnd, POINT pt, MouseAction action, MouseButton button) {
    return input_ && input_->Button(hWnd, pt, action, button);
}

bool UiTestDriver::Click(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    return pt.x >= 0 && ClickAt(hWnd, pt);
}

bool UiTestDriver::ClickAt(HWND hWnd, POINT pt) {
    if (!MoveMouse(hWnd, pt)) return false;
    Press(hWnd, pt, MouseAction::Press, MouseButton::Left);
    Press(hWnd, pt, MouseAction::Release, MouseButton::Left);
    Pump();
    return true;
}

bool UiTestDriver::DoubleClick(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    if (pt.x < 0 || !MoveMouse(hWnd, pt)) return false;
    Press(hWnd, pt, MouseAction::Press, MouseButton::Left);
    Press(hWnd, pt, MouseAction::Release, MouseButton::Left);
    Press(hWnd, pt, MouseAction::DoubleClick, MouseButton::Left);
    Press(hWnd, pt, MouseAction::Release, MouseButton::Left);
    Pump();
    return true;
}

bool UiTestDriver::RightClick(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    return pt.x >= 0 && RightClickAt(hWnd, pt);
}

bool UiTestDriver::RightClickAt(HWND hWnd, POINT pt) {
    if (!MoveMouse(hWnd, pt)) return false;
    Press(hWnd, pt, MouseAction::Press, MouseButton::Right);
    Press(hWnd, pt, MouseAction::Release, MouseButton::Right);
    Pump();
    return true;
}

bool UiTestDriver::MoveMouse(HWND hWnd, POINT pt) {
    return input_ && input_->MoveTo(hWnd, pt);
}

bool UiTestDriver::DragBy(HWND hWnd, POINT from, int dx, int dy) {
    if (!MoveMouse(hWnd, from)) return false;
    Press(hWnd, from, MouseAction::Press, MouseButton::Left);
    Pump();
    if (IsWindow(hWnd)) input_->DragBy(hWnd, dx, dy);
    Pump();
    return true;
}

bool UiTestDriver::Hover(HWND hWnd, LPCTSTR name) {
    const POINT pt = CenterOf(hWnd, name);
    return pt.x >= 0 && HoverAt(hWnd, pt);
}

bool UiTestDriver::HoverAt(HWND hWnd, POINT pt) {
    if (!MoveMouse(hWnd, pt)) return false;
    return PumpUntil([hWnd] { return !detail::HoverPending(hWnd); });
}

bool UiTestDriver::LeaveWindow(HWND hWnd) {
    if (!input_ || !IsWindow(hWnd)) return false;
    Pump();
    input_->Leave(hWnd);
    Pump();
    return true;
}

bool UiTestDriver::Wheel(HWND hWnd, POINT pt, int delta) {
    if (!input_ || !input_->Wheel(hWnd, pt, delta)) return false;
    Pump();
    return true;
}

bool UiTestDriver::TypeText(HWND hWnd, LPCTSTR editName, const std::wstring& text) {
    CControlUI* control = Find(hWnd, editName);
    if (!control || !control->GetInterface(L"Edit")) return false;
    if (!control->IsFocused() && !Click(hWnd, editName)) return false;
    if (!input_ || !input_->CommitText(hWnd, text)) return false;
    Pump();
    return true;
}

bool UiTestDriver::PressKey(HWND hWnd, UINT vk, WPARAM modifiers) {
    if (!input_ || !input_->Key(hWnd, vk, modifiers)) return false;
    Pump();
    return true;
}

int UiTestDriver::TimerInterval(HWND hWnd, UINT_PTR id) const {
    CWindowWnd::Impl* impl = detail::ImplOf(hWnd);
    if (!impl) return -1;
    const auto it = impl->timers.find(id);
    return it != impl->timers.end() && it->second->IsActive()
               ? static_cast<int>(it->second->Interval())
               : -1;
}

// ---- Tray ----

std::vector<TrayIconState> UiTestDriver::TrayIcons() const {
    std::vector<TrayIconState> out;
    for (const auto& icon : detail::TrayIcons()) {
        out.push_back(TrayIconState{icon.hWnd, icon.id, icon.callbackMessage, icon.tip, icon.icon});
    }
    return out;
}

bool UiTestDriver::TrayEvent(HWND hWnd, UINT id, UINT mouseMessage) {
    const bool sent = detail::SendTrayEvent(hWnd, id, mouseMessage);
    Pump();
    return sent;
}

void UiTestDriver::SetSystemTrayAvailable(bool available) {
    backend_->SetTrayAvailable(available);
}

// ---- Question boxes and native menus ----

void UiTestDriver::AnswerNextQuestionBoxes(std::vector<int> answers) {
    backend_->AnswerNextQuestionBoxes(std::move(answers));
}

const std::vector<AskedQuestion>& UiTestDriver::QuestionsAsked() const {
    return backend_->QuestionsAsked();
}

int UiTestDriver::UnexpectedQuestionBoxes() const {
    return backend_->UnexpectedQuestionBoxes();
}

void UiTestDriver::PickNextMenuItems(std::vector<UINT_PTR> ids) {
    backend_->PickNextMenuItems(std::move(ids));
}

const std::vector<std::vector<ShownMenuItem>>& UiTestDriver::MenusShown() const {
    return backend_->MenusShown();
}

// ---- Pictures ----

backend::Bitmap UiTestDriver::Picture(HWND hWnd, double pixelRatio) {
    return detail::SnapshotWindow(hWnd, pixelRatio);
}

bool UiTestDriver::SaveWindowPng(HWND hWnd, const std::string& path, double pixelRatio) {
    backend::Backend* b = backend::CurrentBackend();
    const backend::Bitmap picture = Picture(hWnd, pixelRatio);
    if (!b || picture.Empty()) return false;
    const std::string png = b->EncodePng(picture);
    if (png.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

DWORD UiTestDriver::PixelAt(HWND hWnd, POINT pt) {
    return Picture(hWnd).At(pt.x, pt.y);
}

}  // namespace UiLib::testing
