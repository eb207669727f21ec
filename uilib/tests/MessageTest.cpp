#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

constexpr UINT kPrivate = 2028;

class MessageTest : public ::testing::Test {
protected:
    void SetUp() override { UseTestArchive(); }
    size_t Count(const TestWindow& w, UINT msg, WPARAM wParam) {
        size_t n = 0;
        for (const Message& m : w.messages) n += (m.msg == msg && m.wParam == wParam) ? 1 : 0;
        return n;
    }
    UiLib::testing::TestBackend backend;
    UiLib::testing::UiTestDriver driver{backend};
};

}  // namespace

TEST_F(MessageTest, TimersFireWithTheirIdAndReArmingReplaces) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    ASSERT_TRUE(SetTimer(h, 2025, 20));
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, WM_TIMER, 2025) >= 2; }));
    // Re-arming with a long period replaces the short one.
    ASSERT_TRUE(SetTimer(h, 2025, 60000));
    const size_t before = Count(w, WM_TIMER, 2025);
    ASSERT_TRUE(SetTimer(h, 2026, 0));  // as soon as possible, repeatedly
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, WM_TIMER, 2026) >= 3; }));
    EXPECT_EQ(Count(w, WM_TIMER, 2025), before);
    EXPECT_TRUE(KillTimer(h, 2026));
    EXPECT_FALSE(KillTimer(h, 2026));
    const size_t stopped = Count(w, WM_TIMER, 2026);
    ASSERT_TRUE(SetTimer(h, 7, 10));
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, WM_TIMER, 7) >= 2; }));
    EXPECT_EQ(Count(w, WM_TIMER, 2026), stopped);
}

TEST_F(MessageTest, AWindowMayKillItsTimerFromTheTimerItself) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    w.onMessage = [&](UINT msg, WPARAM id, LPARAM) {
        if (msg == WM_TIMER && id == 2026) KillTimer(h, 2026);
    };
    SetTimer(h, 2026, 10);
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, WM_TIMER, 2026) == 1; }));
    SetTimer(h, 1, 30);
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, WM_TIMER, 1) >= 2; }));
    EXPECT_EQ(Count(w, WM_TIMER, 2026), 1u);
}

TEST_F(MessageTest, SendFromAWorkerBlocksUntilHandledOnTheUiThread) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    std::thread::id handlerThread;
    std::string seenByHandler;
    w.onMessage = [&](UINT msg, WPARAM wParam, LPARAM) {
        if (msg != kPrivate) return;
        handlerThread = std::this_thread::get_id();
        seenByHandler = *reinterpret_cast<const std::string*>(wParam);  // the worker's stack data
    };
    std::atomic<bool> returned{false};
    std::thread worker([&] {
        const std::string item = "item on the worker's stack";
        SendMessageW(h, kPrivate, reinterpret_cast<WPARAM>(&item), 5);
        returned = true;
    });
    ASSERT_TRUE(driver.PumpUntil([&] { return returned.load(); }));
    worker.join();
    EXPECT_EQ(seenByHandler, "item on the worker's stack");
    EXPECT_EQ(handlerThread, std::this_thread::get_id());
    ASSERT_FALSE(w.messages.empty());
}

TEST_F(MessageTest, PostedMessagesArriveInOrderAfterTheCallReturns) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    for (WPARAM i = 0; i < 5; ++i) ASSERT_TRUE(PostMessageW(h, kPrivate, i, 0));
    EXPECT_EQ(Count(w, kPrivate, 0), 0u);
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, kPrivate, 4) == 1; }));
    std::vector<WPARAM> order;
    for (const Message& m : w.messages) {
        if (m.msg == kPrivate) order.push_back(m.wParam);
    }
    EXPECT_EQ(order, (std::vector<WPARAM>{0, 1, 2, 3, 4}));
}

TEST_F(MessageTest, AGoneWindowsHandleIsHarmless) {
    HWND h = nullptr;
    {
        TestWindow w(L"controls.xml");
        h = w.Make();
        ASSERT_TRUE(IsWindow(h));
        ASSERT_TRUE(DestroyWindow(h));
        EXPECT_EQ(w.destroyCount, 1);
        EXPECT_EQ(w.GetHWND(), nullptr);
    }
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(SendMessageW(h, kPrivate, 1, 2), 0);
    EXPECT_FALSE(PostMessageW(h, kPrivate, 1, 2));
    EXPECT_FALSE(ShowWindow(h, SW_SHOW));
    EXPECT_FALSE(SetTimer(h, 1, 10));
    std::thread worker([h] { EXPECT_EQ(SendMessageW(h, kPrivate, 1, 2), 0); });
    worker.join();
    driver.Pump();
}

TEST_F(MessageTest, CloseCarriesItsLParamAndTheHandlerDecides) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    w.hideOnClose = true;
    ShowWindow(h, SW_SHOW);
    SendMessageW(h, WM_CLOSE, 0, 1);
    EXPECT_TRUE(IsWindow(h));
    EXPECT_FALSE(IsWindowVisible(h));
    SendMessageW(h, WM_CLOSE, 0, 2);
    EXPECT_FALSE(IsWindow(h));
    EXPECT_EQ(w.closeParams, (std::vector<LPARAM>{1, 2}));
}

TEST_F(MessageTest, ShowModalReturnsTheCodeGivenToClose) {
    TestWindow owner(L"controls.xml", L"Owner");
    const HWND ownerWnd = owner.Make(nullptr, true);
    TestWindow dlg(L"controls.xml", L"MsgDlg");
    ASSERT_NE(dlg.Make(ownerWnd), nullptr);
    dlg.CenterWindow();
    bool ownerDisabledWhileOpen = false;
    dlg.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender->GetName() == L"btnGo") dlg.Close(IDYES);
    };
    driver.Defer([&] {
        ownerDisabledWhileOpen = !IsWindowEnabled(ownerWnd);
        driver.Click(dlg.GetHWND(), L"btnGo");
    });
    EXPECT_EQ(dlg.ShowModal(), static_cast<UINT>(IDYES));
    EXPECT_TRUE(ownerDisabledWhileOpen);
    EXPECT_TRUE(IsWindowEnabled(ownerWnd));
    EXPECT_FALSE(IsWindow(dlg.GetHWND()));
}

TEST_F(MessageTest, CloseButtonOfAModalDialogReturnsIdOkAndNestedModalsUnwind) {
    TestWindow outer(L"controls.xml", L"Outer");
    ASSERT_NE(outer.Make(), nullptr);
    UINT innerResult = 99;
    outer.onNotify = [&](TNotifyUI& msg) {
        if (msg.sType != DUI_MSGTYPE_CLICK || msg.pSender->GetName() != L"btnGo") return;
        TestWindow inner(L"controls.xml", L"Inner");
        inner.Make(outer.GetHWND());
        driver.Defer([&] { driver.Click(inner.GetHWND(), L"closebtn"); });
        innerResult = inner.ShowModal();
        outer.Close(42);
    };
    driver.Defer([&] { driver.Click(outer.GetHWND(), L"btnGo"); });
    EXPECT_EQ(outer.ShowModal(), 42u);
    EXPECT_EQ(innerResult, static_cast<UINT>(IDOK));
}

TEST_F(MessageTest, QuitEndsTheMessageLoopAndModalLoopsWithItsCode) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    PostMessageW(h, kPrivate, 1, 0);
    PostQuitMessage(3);
    EXPECT_EQ(CPaintManagerUI::MessageLoop(), 3);
    EXPECT_EQ(Count(w, kPrivate, 1), 1u);  // posted before the quit: handled first
    EXPECT_FALSE(driver.QuitRequested());

    TestWindow dlg(L"controls.xml", L"Dlg");
    dlg.Make(h);
    driver.Defer([] { PostQuitMessage(0); });
    EXPECT_EQ(dlg.ShowModal(), 0u);
    EXPECT_TRUE(driver.QuitRequested());
    driver.ResetQuit();
}

TEST_F(MessageTest, WheelHoverAndLeaveReachTheWindow) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make(nullptr, true);
    driver.Pump();
    ASSERT_TRUE(driver.Wheel(h, POINT{50, 100}, 120));
    ASSERT_TRUE(driver.Wheel(h, POINT{50, 100}, -240));
    ASSERT_EQ(w.wheels.size(), 2u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w.wheels[0]), 120);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w.wheels[1]), -240);
    ASSERT_TRUE(driver.HoverAt(h, POINT{40, 90}));
    ASSERT_EQ(w.hovers.size(), 1u);
    EXPECT_EQ(w.hovers[0], MAKELPARAM(40, 90));
    EXPECT_EQ(w.hovers[0], 0x005A0028);
    ASSERT_TRUE(driver.LeaveWindow(h));
    EXPECT_EQ(Count(w, WM_MOUSELEAVE, 0), 1u);
    EXPECT_EQ(WM_MOUSELEAVE, 675u);
}

TEST_F(MessageTest, WindowGeometryStylesAndLookup) {
    TestWindow w(L"controls.xml", L"FloatToolWindow");
    const HWND h = w.Make(nullptr, false, WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    RECT rc{};
    ASSERT_TRUE(GetWindowRect(h, &rc));
    EXPECT_EQ(rc.right - rc.left, 400);  // the layout's size
    EXPECT_EQ(rc.bottom - rc.top, 320);
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_GT(cx, 0);
    ASSERT_TRUE(SetWindowPos(h, nullptr, cx - 400 - 20, 20, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_TRUE(GetWindowRect(h, &rc));
    EXPECT_EQ(rc.left, cx - 420);
    EXPECT_EQ(rc.top, 20);
    EXPECT_EQ(rc.right - rc.left, 400);
    EXPECT_EQ(FindWindowW(L"FloatToolWindow", L"测试窗口"), h);
    EXPECT_EQ(FindWindowW(L"FloatToolWindow", L"other"), nullptr);
    EXPECT_EQ(GetClassName(h), L"FloatToolWindow");
    SetWindowTextW(h, L"悬浮窗");
    EXPECT_EQ(GetWindowText(h), L"悬浮窗");
    w.CenterWindow();
    const RECT work = GetWorkArea(h);
    ASSERT_TRUE(GetWindowRect(h, &rc));
    EXPECT_EQ(rc.left, (work.left + work.right - 400) / 2);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), &info));
    EXPECT_EQ(info.rcWork.right, work.right);
    EXPECT_FALSE(IsWindowVisible(h));
    ShowWindow(h, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(IsWindowVisible(h));
    EXPECT_TRUE(SetForegroundWindow(h));
    EXPECT_EQ(GetForegroundWindow(), h);
}

TEST_F(MessageTest, CreatedVisibleButHiddenBeforeTheLoopNeverShows) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make(nullptr, true);
    EXPECT_TRUE(IsWindowVisible(h));
    w.ShowWindow(false, true);
    driver.Pump();
    EXPECT_FALSE(IsWindowVisible(h));
    EXPECT_FALSE(backend.Paint(h).empty());  // still paintable off screen
}

TEST_F(MessageTest, CaptionPressStartsAWindowDragButButtonsStillClick) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make(nullptr, true);
    driver.Pump();
    ASSERT_TRUE(SetWindowPos(h, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER));
    driver.Pump();
    // Press on the caption area (the title label) and drag: the window follows.
    ASSERT_TRUE(driver.DragBy(h, POINT{20, 10}, 30, 12));
    RECT rc{};
    GetWindowRect(h, &rc);
    EXPECT_EQ(rc.left, 130);
    EXPECT_EQ(rc.top, 112);
    EXPECT_TRUE(w.NoteTypesOf(L"lblTitle").empty());  // no focus change: it is a drag
    // Below the caption nothing drags.
    ASSERT_TRUE(driver.DragBy(h, driver.CenterOf(h, L"filler"), 30, 0));
    GetWindowRect(h, &rc);
    EXPECT_EQ(rc.left, 130);
    // The floating window's way: a posted WM_NCLBUTTONDOWN with HTCAPTION drags too.
    w.onMessage = [&](UINT msg, WPARAM, LPARAM) {
        if (msg == WM_LBUTTONDOWN) PostMessageW(h, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    };
    ASSERT_TRUE(driver.DragBy(h, driver.CenterOf(h, L"filler"), -50, 0));
    GetWindowRect(h, &rc);
    EXPECT_EQ(rc.left, 80);
    w.onMessage = nullptr;
    w.hideOnClose = true;
    ASSERT_TRUE(driver.Click(h, L"closebtn"));  // a button inside the caption area
    ASSERT_TRUE(driver.PumpUntil([&] { return !w.closeParams.empty(); }));
}

TEST_F(MessageTest, KeysReachTheWindowAndTheFocusedControl) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make(nullptr, true);
    driver.Pump();
    ASSERT_TRUE(driver.Click(h, L"lst"));  // a list takes the focus
    ASSERT_TRUE(driver.PressKey(h, VK_UP));
    ASSERT_TRUE(driver.PressKey(h, VK_LEFT));
    EXPECT_EQ(Count(w, WM_KEYDOWN, VK_UP), 1u);
    EXPECT_EQ(Count(w, WM_KEYDOWN, VK_LEFT), 1u);
    // Tab moves the focus to the next control that takes it.
    ASSERT_TRUE(driver.Click(h, L"btnGo"));
    ASSERT_TRUE(driver.PressKey(h, VK_TAB));
    EXPECT_TRUE(w.Pm().FindControl(L"btnGo")->IsFocused() == false);
    EXPECT_NE(w.Pm().GetFocus(), nullptr);
    // Space on a focused button clicks it.
    w.Pm().FindControl(L"btnGo")->SetFocus();
    w.notes.clear();
    ASSERT_TRUE(driver.PressKey(h, VK_SPACE));
    EXPECT_EQ(w.NoteTypesOf(L"btnGo"), (std::vector<std::wstring>{L"click"}));
}

TEST_F(MessageTest, AMinimisedWindowIsIconicUntilShownAgain) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make(nullptr, true);
    driver.Pump();
    EXPECT_FALSE(IsIconic(h));
    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_TRUE(IsWindowVisible(h));  // on the task bar, as on Win32
    ShowWindow(h, SW_SHOW);
    EXPECT_FALSE(IsIconic(h));
    ShowWindow(h, SW_SHOWMINNOACTIVE);
    EXPECT_TRUE(IsIconic(h));
    ShowWindow(h, SW_HIDE);
    EXPECT_FALSE(IsIconic(h));
    EXPECT_FALSE(IsIconic(nullptr));
}

TEST_F(MessageTest, TheCaptureTakesTheMouseInputOfOtherWindows) {
    TestWindow a(L"controls.xml");
    TestWindow b(L"controls.xml");
    const HWND ha = a.Make(nullptr, true);
    const HWND hb = b.Make(nullptr, true);
    driver.Pump();
    SetWindowPos(ha, nullptr, 10, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(hb, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const auto presses = [](const TestWindow& w) {
        std::vector<LPARAM> seen;
        for (const Message& m : w.messages) {
            if (m.msg == WM_LBUTTONDOWN) seen.push_back(m.lParam);
        }
        return seen;
    };
    SetCapture(ha);
    ASSERT_TRUE(driver.ClickAt(hb, POINT{5, 6}));
    // In a's client coordinates: b's point seen from a.
    EXPECT_EQ(presses(a), (std::vector<LPARAM>{MAKELPARAM(300 + 5 - 10, 200 + 6 - 20)}));
    EXPECT_TRUE(presses(b).empty());

    // A hidden window's capture takes nothing; without a capture b has its clicks.
    ShowWindow(ha, SW_HIDE);
    ASSERT_TRUE(driver.ClickAt(hb, POINT{5, 6}));
    EXPECT_EQ(presses(b).size(), 1u);
    ReleaseCapture();
    ShowWindow(ha, SW_SHOW);
    ASSERT_TRUE(driver.ClickAt(hb, POINT{7, 8}));
    EXPECT_EQ(presses(b).size(), 2u);
    EXPECT_EQ(presses(a).size(), 1u);
}
