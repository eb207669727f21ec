#include "uilib/testing/TestBackend.h"

#include "uilib/core/PaintManager.h"
#include "uilib/src/dispatch/Dispatch.h"
#include "uilib/src/window/WindowImpl.h"
#include "uilib/testing/HeadlessInput.h"
#include "uilib/testing/HeadlessLoop.h"
#include "uilib/testing/HeadlessWindow.h"

namespace UiLib::testing {

namespace {

// A tray icon nobody sees.
class HeadlessTrayIcon final : public backend::TrayIcon {
public:
    void SetToolTip(const std::wstring&) override {}
    void SetIcon(const backend::Image*) override {}
    void Show() override { shown_ = true; }
    bool IsShown() const override { return shown_; }

private:
    bool shown_ = false;
};

// The handle of a native window, for the records.
HWND HandleOf(const backend::NativeWindow* native) {
    if (!native) return nullptr;
    for (HWND hWnd : detail::AllWindows()) {
        if (detail::NativeOf(hWnd) == native) return hWnd;
    }
    return nullptr;
}

}  // namespace

TestBackend::TestBackend()
    : loop_(std::make_unique<HeadlessLoop>()),
      desktop_(std::make_shared<HeadlessDesktop>()),
      input_(std::make_unique<HeadlessInput>(desktop_)) {
    previous_ = backend::InstallBackend(this);
}

TestBackend::TestBackend(backend::Backend& inner) : inner_(&inner) {
    previous_ = backend::InstallBackend(this);
}

TestBackend::~TestBackend() {
    const bool pretended = trayAvailable_.has_value();
    if (backend::CurrentBackend() == this) backend::InstallBackend(previous_);
    // The windows that remain hear that the pretence is over.
    if (pretended && previous_ && previous_->IsTrayAvailable() != *trayAvailable_) {
        backend::TrayAvailabilityChanged(!*trayAvailable_);
    }
}

// ---- The person ----

void TestBackend::AnswerNextQuestionBoxes(std::vector<int> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void TestBackend::PickNextMenuItems(std::vector<UINT_PTR> ids) {
    menuPicks_.insert(menuPicks_.end(), ids.begin(), ids.end());
}

void TestBackend::SetTrayAvailable(bool available) {
    const bool before = IsTrayAvailable();
    trayAvailable_ = available;
    if (before != available) backend::TrayAvailabilityChanged(available);
}

int TestBackend::AskQuestion(backend::NativeWindow* owner, const std::wstring& text,
                             const std::wstring& caption, UINT type) {
    questions_.push_back(AskedQuestion{HandleOf(owner), text, caption, type});
    if (answers_.empty()) {
        ++unexpectedQuestions_;
        return (type & 0x0F) == MB_YESNO ? IDNO : IDCANCEL;
    }
    const int answer = answers_.front();
    answers_.erase(answers_.begin());
    return answer;
}

UINT_PTR TestBackend::ChooseFromMenu(backend::NativeWindow*,
                                     const std::vector<backend::MenuItem>& items, POINT) {
    std::vector<ShownMenuItem> shown;
    for (const auto& item : items) {
        shown.push_back(ShownMenuItem{item.id, item.text, (item.flags & MF_SEPARATOR) != 0});
    }
    menus_.push_back(std::move(shown));
    if (menuPicks_.empty()) return 0;
    const UINT_PTR id = menuPicks_.front();
    menuPicks_.erase(menuPicks_.begin());
    return id;
}

bool TestBackend::IsTrayAvailable() {
    if (trayAvailable_) return *trayAvailable_;
    return inner_ && inner_->IsTrayAvailable();
}

std::unique_ptr<backend::TrayIcon> TestBackend::CreateTrayIcon(
    std::function<void(backend::TrayClick)> onClick) {
    if (inner_) return inner_->CreateTrayIcon(std::move(onClick));
    return std::make_unique<HeadlessTrayIcon>();
}

// ---- Headless only ----

Simulator* TestBackend::Input() {
    return input_.get();
}

std::vector<AccessId> TestBackend::AnnouncedFocus(HWND hWnd) const {
    const backend::NativeWindow* native = detail::NativeOf(hWnd);
    for (HeadlessWindow* window : desktop_->windows) {
        if (window == native) return window->announcedFocus();
    }
    return {};
}

std::vector<DrawCall> TestBackend::Paint(HWND hWnd) {
    if (inner_) return {};
    const backend::NativeWindow* native = detail::NativeOf(hWnd);
    for (HeadlessWindow* window : desktop_->windows) {
        if (window == native) {
            if (CPaintManagerUI* manager = detail::ManagerOf(hWnd)) manager->UpdateLayout();
            return window->Paint();
        }
    }
    return {};
}

// ---- Loop, windows, pictures, text and screens: the inner backend's or headless ----

void TestBackend::Post(std::function<void()> task) {
    if (inner_) return inner_->Post(std::move(task));
    loop_->Post(std::move(task));
}

void TestBackend::ProcessPending() {
    if (inner_) return inner_->ProcessPending();
    loop_->ProcessPending();
}

void TestBackend::RunLoop(const std::function<bool()>& done) {
    if (inner_) return inner_->RunLoop(done);
    loop_->RunLoop(done);
}

void TestBackend::WakeLoops() {
    if (inner_) return inner_->WakeLoops();
    loop_->Wake();
}

std::unique_ptr<backend::Timer> TestBackend::CreateTimer(std::function<void()> onTimeout) {
    if (inner_) return inner_->CreateTimer(std::move(onTimeout));
    return loop_->CreateTimer(std::move(onTimeout));
}

std::unique_ptr<backend::NativeWindow> TestBackend::CreateNativeWindow(
    backend::WindowEvents& events, const std::wstring& className) {
    if (inner_) return inner_->CreateNativeWindow(events, className);
    return std::make_unique<HeadlessWindow>(desktop_, events);
}

std::shared_ptr<const backend::Image> TestBackend::DecodeImage(const void* data, std::size_t size) {
    if (inner_) return inner_->DecodeImage(data, size);
    return HeadlessDecode(data, size);
}

std::string TestBackend::EncodePng(const backend::Bitmap& bitmap) {
    return inner_ ? inner_->EncodePng(bitmap) : std::string();
}

backend::Backend::FontMetrics TestBackend::MetricsOf(const TFontInfo& font) {
    if (inner_) return inner_->MetricsOf(font);
    return HeadlessMetrics(font);
}

int TestBackend::TextWidth(const TFontInfo& font, std::wstring_view text) {
    if (inner_) return inner_->TextWidth(font, text);
    return HeadlessTextWidth(font, text);
}

SIZE TestBackend::MeasureText(const TFontInfo& font, std::wstring_view text, UINT style,
                              int width) {
    if (inner_) return inner_->MeasureText(font, text, style, width);
    return HeadlessMeasure(font, text, style, width);
}

std::vector<backend::Screen> TestBackend::Screens() {
    if (inner_) return inner_->Screens();
    return {backend::Screen{desktop_->screen, desktop_->workArea}};
}

POINT TestBackend::CursorPos() {
    if (inner_) return inner_->CursorPos();
    return desktop_->cursor;
}

void TestBackend::SetCursorPos(POINT pt) {
    if (inner_) return inner_->SetCursorPos(pt);
    desktop_->cursor = pt;
}

}  // namespace UiLib::testing
