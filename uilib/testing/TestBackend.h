#pragma once

// TestBackend: the backend of tests. It stands in for the person at the desktop: it
// answers question boxes and native menus from queues and records them, says whether
// there is a tray as the test wants, and keeps the tray icons without showing them.
//
// Headless (the default constructor) it is a whole backend of its own, without Qt and
// without a display: windows, timers and posted tasks live in memory, text has fixed
// metrics, images are known by their size, painting is recorded (Paint), and a
// person's input comes through Input(). Over another backend (the offscreen Qt backend
// of UiTestDriver) it leaves windows, the loop, painting and text to that one.
//
// It installs itself for its lifetime and restores the backend before it; test
// backends nest in the order they are made.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "uilib/src/Backend.h"
#include "uilib/testing/RecordingCanvas.h"
#include "uilib/testing/Simulator.h"

namespace UiLib::testing {

struct AskedQuestion {
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

struct ShownMenuItem {
    UINT_PTR id = 0;
    std::wstring text;
    bool separator = false;
};

class HeadlessInput;
class HeadlessLoop;
struct HeadlessDesktop;

class TestBackend final : public backend::Backend {
public:
    // Headless.
    TestBackend();
    // Over `inner` (which must outlive this object).
    explicit TestBackend(backend::Backend& inner);
    ~TestBackend() override;
    TestBackend(const TestBackend&) = delete;
    TestBackend& operator=(const TestBackend&) = delete;

    // ---- The person ----
    // Answers (IDYES, IDNO, …) for the next question boxes, in order. A box with no
    // queued answer is recorded as unexpected and answered IDNO / IDCANCEL.
    void AnswerNextQuestionBoxes(std::vector<int> answers);
    const std::vector<AskedQuestion>& QuestionsAsked() const { return questions_; }
    int UnexpectedQuestionBoxes() const { return unexpectedQuestions_; }
    // Item ids to pick in the next native menus (0 dismisses; none queued dismisses).
    void PickNextMenuItems(std::vector<UINT_PTR> ids);
    const std::vector<std::vector<ShownMenuItem>>& MenusShown() const { return menus_; }
    // Whether the desktop has a tray from now on; every window hears of a change.
    void SetTrayAvailable(bool available);

    // ---- Headless only ----
    // A person's input to the headless windows (null over another backend).
    Simulator* Input();
    // What the window draws now (nothing over another backend).
    std::vector<DrawCall> Paint(HWND hWnd);
    // The controls announced to assistive technology as focused in the window, oldest
    // first (nothing over another backend).
    std::vector<AccessId> AnnouncedFocus(HWND hWnd) const;

    // ---- backend::Backend ----
    void Post(std::function<void()> task) override;
    void ProcessPending() override;
    void RunLoop(const std::function<bool()>& done) override;
    void WakeLoops() override;
    std::unique_ptr<backend::Timer> CreateTimer(std::function<void()> onTimeout) override;
    std::unique_ptr<backend::NativeWindow> CreateNativeWindow(
        backend::WindowEvents& events, const std::wstring& className) override;
    std::shared_ptr<const backend::Image> DecodeImage(const void* data, std::size_t size) override;
    std::string EncodePng(const backend::Bitmap& bitmap) override;
    FontMetrics MetricsOf(const TFontInfo& font) override;
    int TextWidth(const TFontInfo& font, std::wstring_view text) override;
    SIZE MeasureText(const TFontInfo& font, std::wstring_view text, UINT style, int width) override;
    std::vector<backend::Screen> Screens() override;
    POINT CursorPos() override;
    void SetCursorPos(POINT pt) override;
    int AskQuestion(backend::NativeWindow* owner, const std::wstring& text,
                    const std::wstring& caption, UINT type) override;
    UINT_PTR ChooseFromMenu(backend::NativeWindow* owner,
                            const std::vector<backend::MenuItem>& items, POINT at) override;
    std::unique_ptr<backend::TrayIcon> CreateTrayIcon(
        std::function<void(backend::TrayClick)> onClick) override;
    bool IsTrayAvailable() override;

private:
    backend::Backend* inner_ = nullptr;
    backend::Backend* previous_ = nullptr;
    std::unique_ptr<HeadlessLoop> loop_;
    std::shared_ptr<HeadlessDesktop> desktop_;
    std::unique_ptr<HeadlessInput> input_;
    std::optional<bool> trayAvailable_;
    std::vector<int> answers_;
    std::vector<AskedQuestion> questions_;
    int unexpectedQuestions_ = 0;
    std::vector<UINT_PTR> menuPicks_;
    std::vector<std::vector<ShownMenuItem>> menus_;
};

}  // namespace UiLib::testing
