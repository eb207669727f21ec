#pragma once

// UiTestDriver: drives real framework windows without a person and without a display.
// Input goes through the same path as a person's (the backend's own events of the
// window), question boxes and native menus are answered from a queue by the test
// backend, and windows can be looked at as pictures.
//
// Two backends: the default constructor drives the offscreen Qt backend
// (QT_QPA_PLATFORM=offscreen, library trovik_uilib_testing), for tests that need real
// painting; UiTestDriver(TestBackend&) drives the headless test backend (library
// trovik_uilib_testbackend), without Qt: windows, layout and events, but no pixels.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "uilib/UiLib.h"
#include "uilib/testing/TestBackend.h"

namespace UiLib::testing {

struct TrayIconState {
    HWND hWnd = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    std::wstring tip;
    HICON icon = nullptr;
};

class UiTestDriver {
public:
    // The offscreen Qt backend: creates the process's application object on first use
    // (kept for the process) and a test backend over it for the driver's lifetime.
    UiTestDriver();
    // The headless test backend, which must outlive the driver.
    explicit UiTestDriver(TestBackend& headless);
    ~UiTestDriver();
    UiTestDriver(const UiTestDriver&) = delete;
    UiTestDriver& operator=(const UiTestDriver&) = delete;

    // ---- Event loop ----
    // Handles what is pending (posted messages, timers that are due, repaints).
    void Pump();
    // Pumps until the condition holds; false when the deadline passed first.
    bool PumpUntil(const std::function<bool()>& condition,
                   std::chrono::milliseconds deadline = std::chrono::seconds(10));
    // Runs fn from the event loop soon, e.g. to act while a modal loop runs.
    void Defer(std::function<void()> fn);
    // The quit message: whether it came, its code, and forgetting it.
    bool QuitRequested() const;
    int QuitCode() const;
    void ResetQuit();

    // ---- Controls and input ----
    CPaintManagerUI* Manager(HWND hWnd) const;
    CControlUI* Find(HWND hWnd, LPCTSTR name) const;
    // The centre of a named control in client coordinates ({-1,-1} when missing).
    POINT CenterOf(HWND hWnd, LPCTSTR name) const;
    bool Click(HWND hWnd, LPCTSTR name);
    bool ClickAt(HWND hWnd, POINT pt);
    bool DoubleClick(HWND hWnd, LPCTSTR name);
    bool RightClick(HWND hWnd, LPCTSTR name);
    bool RightClickAt(HWND hWnd, POINT pt);
    bool MoveMouse(HWND hWnd, POINT pt);
    // Presses the left button at `from`, moves by (dx, dy) with it held, releases.
    bool DragBy(HWND hWnd, POINT from, int dx, int dy);
    // Moves the pointer onto the control and waits until it has rested (hover).
    bool Hover(HWND hWnd, LPCTSTR name);
    bool HoverAt(HWND hWnd, POINT pt);
    bool LeaveWindow(HWND hWnd);
    // Turns the wheel over a point; delta in Win32 units (120 per notch, positive away).
    bool Wheel(HWND hWnd, POINT pt, int delta);
    // Focuses the edit and types text through the input-method path (any script).
    bool TypeText(HWND hWnd, LPCTSTR editName, const std::wstring& text);
    // Presses and releases a key (VK_*) on whatever has the keyboard focus in the window,
    // with modifiers (MK_SHIFT, MK_CONTROL) held: PressKey(h, VK_TAB, MK_SHIFT).
    bool PressKey(HWND hWnd, UINT vk, WPARAM modifiers = 0);

    // The period of a window's timer in milliseconds as it was last armed, or -1 when
    // the timer is not running.
    int TimerInterval(HWND hWnd, UINT_PTR id) const;

    // ---- Tray ----
    std::vector<TrayIconState> TrayIcons() const;
    // Delivers a tray event (WM_LBUTTONDOWN, WM_RBUTTONUP, …) as the desktop would.
    bool TrayEvent(HWND hWnd, UINT id, UINT mouseMessage);
    // Pretends the desktop has (or lacks) a system tray.
    void SetSystemTrayAvailable(bool available);

    // ---- Question boxes and native menus ----
    // Queues answers (IDYES, IDNO, …) for the next question boxes, in order. A box with
    // no queued answer is recorded as unexpected and answered IDNO / IDCANCEL.
    void AnswerNextQuestionBoxes(std::vector<int> answers);
    const std::vector<AskedQuestion>& QuestionsAsked() const;
    int UnexpectedQuestionBoxes() const;
    // Queues the item ids to pick in the next native menus (0 dismisses).
    void PickNextMenuItems(std::vector<UINT_PTR> ids);
    const std::vector<std::vector<ShownMenuItem>>& MenusShown() const;

    // ---- Pictures (the Qt backend; headless windows have none) ----
    // The window's current picture (laid out and painted now), in memory, at pixelRatio
    // pixels per unit (2: as a screen scaled by 2 shows it, twice the size).
    backend::Bitmap Picture(HWND hWnd, double pixelRatio = 1.0);
    // Saves the window's current picture as PNG.
    bool SaveWindowPng(HWND hWnd, const std::string& path, double pixelRatio = 1.0);
    // The colour (0xAARRGGBB) of one pixel of the window's picture; 0 when outside.
    DWORD PixelAt(HWND hWnd, POINT pt);

private:
    bool Press(HWND hWnd, POINT pt, backend::MouseAction action, backend::MouseButton button);

    std::unique_ptr<TestBackend> ownBackend_;  // over the Qt backend
    TestBackend* backend_;
    std::unique_ptr<Simulator> ownInput_;  // Qt events
    Simulator* input_;
};

}  // namespace UiLib::testing
