// The Qt backend under the framework: a person's input as Qt events on the window's
// widget, the line edit's input method, Qt's loop, timers and nested loops, and window
// operations on the offscreen screen. (The framework's own behaviour is tested
// headless; this is the path through Qt.)

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <atomic>
#include <thread>

#include "Pixels.h"
#include "TestWindow.h"
#include "uilib/backend/qt/QtWindow.h"
#include "uilib/src/window/WindowImpl.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

constexpr UINT kPrivate = 2028;

class QtBackendTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestArchive();
        h = w.Make(nullptr, true);
        ASSERT_NE(h, nullptr);
        driver.Pump();
    }
    std::vector<Message> Of(UINT msg) const {
        std::vector<Message> out;
        for (const Message& m : w.messages) {
            if (m.msg == msg) out.push_back(m);
        }
        return out;
    }
    UiLib::testing::UiTestDriver driver;
    TestWindow w{L"controls.xml"};
    HWND h = nullptr;
};

}  // namespace

TEST_F(QtBackendTest, MouseWheelHoverLeaveAndKeysArriveAsTheWindowsMessages) {
    ASSERT_TRUE(driver.Click(h, L"btnGo"));
    EXPECT_EQ(w.NoteTypesOf(L"btnGo"), (std::vector<std::wstring>{L"setfocus", L"click"}));
    const POINT go = driver.CenterOf(h, L"btnGo");
    ASSERT_FALSE(Of(WM_LBUTTONUP).empty());
    EXPECT_EQ(Of(WM_LBUTTONUP).back().lParam, MAKELPARAM(go.x, go.y));
    ASSERT_TRUE(driver.RightClickAt(h, POINT{12, 200}));
    ASSERT_EQ(Of(WM_RBUTTONUP).size(), 1u);
    EXPECT_EQ(Of(WM_RBUTTONDOWN).back().lParam, MAKELPARAM(12, 200));
    ASSERT_TRUE(driver.DoubleClick(h, L"filler"));
    EXPECT_EQ(Of(WM_LBUTTONDBLCLK).size(), 1u);
    // The wheel: delta in the high word, the screen position in lParam.
    SetWindowPos(h, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    driver.Pump();
    ASSERT_TRUE(driver.Wheel(h, POINT{50, 100}, -240));
    ASSERT_EQ(w.wheels.size(), 1u);
    EXPECT_EQ(GET_WHEEL_DELTA_WPARAM(w.wheels[0]), -240);
    EXPECT_EQ(Of(WM_MOUSEWHEEL).back().lParam, MAKELPARAM(80, 140));
    // Resting the pointer gives one hover; leaving the window a leave.
    ASSERT_TRUE(driver.HoverAt(h, POINT{40, 90}));
    EXPECT_EQ(w.hovers, (std::vector<LPARAM>{MAKELPARAM(40, 90)}));
    ASSERT_TRUE(driver.LeaveWindow(h));
    EXPECT_EQ(Of(WM_MOUSELEAVE).size(), 1u);
    // Keys as virtual keys, typed letters as characters.
    ASSERT_TRUE(driver.PressKey(h, VK_NEXT));
    ASSERT_TRUE(driver.PressKey(h, 'Q'));
    ASSERT_EQ(Of(WM_KEYDOWN).size(), 2u);
    EXPECT_EQ(Of(WM_KEYDOWN)[0].wParam, VK_NEXT);
    EXPECT_EQ(Of(WM_KEYUP).back().wParam, static_cast<WPARAM>('Q'));
    ASSERT_EQ(Of(WM_CHAR).size(), 1u);
    EXPECT_EQ(Of(WM_CHAR)[0].wParam, static_cast<WPARAM>(L'Q'));
    // A key without a virtual-key code is not reported.
    QWidget* widget = static_cast<qt::QtWindow*>(detail::NativeOf(h))->widget();
    QKeyEvent volume(QEvent::KeyPress, Qt::Key_VolumeUp, Qt::NoModifier);
    QApplication::sendEvent(widget, &volume);
    EXPECT_EQ(Of(WM_KEYDOWN).size(), 2u);
}

TEST_F(QtBackendTest, TheLineEditTakesInputMethodTextAndEnter) {
    ASSERT_TRUE(driver.TypeText(h, L"edt", L"风中奇缘"));
    auto* edt = w.Get<CEditUI>(L"edt");
    EXPECT_EQ(edt->GetText().str(), L"风中奇缘");
    // Text the program sets is no typing: no "textchanged".
    w.notes.clear();
    edt->SetText(L"风中");
    EXPECT_TRUE(w.NoteTypesOf(L"edt").empty());
    ASSERT_TRUE(driver.TypeText(h, L"edt", L"奇缘"));
    EXPECT_EQ(w.NoteTypesOf(L"edt"), (std::vector<std::wstring>{L"textchanged"}));
    EXPECT_EQ(edt->GetText().str(), L"风中奇缘");
    ASSERT_TRUE(driver.PressKey(h, VK_RETURN));
    EXPECT_EQ(w.NoteTypesOf(L"edt").back(), L"return");
    ASSERT_TRUE(driver.Click(h, L"filler"));
    EXPECT_EQ(w.NoteTypesOf(L"edt").back(), L"killfocus");
    EXPECT_FALSE(driver.TypeText(h, L"btnGo", L"x"));  // not an edit
}

TEST_F(QtBackendTest, OffscreenThereIsNoTrayUntilTheTestSaysSo) {
    EXPECT_FALSE(IsSystemTrayAvailable());
    driver.SetSystemTrayAvailable(true);
    EXPECT_TRUE(IsSystemTrayAvailable());
}

TEST_F(QtBackendTest, TimersPostsWorkersAndNestedLoopsRunOnQtsLoop) {
    ASSERT_TRUE(SetTimer(h, 7, 10));
    EXPECT_EQ(driver.TimerInterval(h, 7), 10);
    ASSERT_TRUE(driver.PumpUntil([&] { return Of(WM_TIMER).size() >= 2; }));
    KillTimer(h, 7);
    EXPECT_EQ(driver.TimerInterval(h, 7), -1);
    for (WPARAM i = 0; i < 3; ++i) PostMessageW(h, kPrivate, i, 0);
    std::atomic<bool> sent{false};
    std::thread worker([&] {
        SendMessageW(h, kPrivate, 9, 0);
        sent = true;
    });
    ASSERT_TRUE(driver.PumpUntil([&] { return sent.load(); }));
    worker.join();
    std::vector<WPARAM> order;
    for (const Message& m : Of(kPrivate)) order.push_back(m.wParam);
    EXPECT_EQ(order.size(), 4u);
    EXPECT_EQ(std::vector<WPARAM>(order.begin(), order.begin() + 1), (std::vector<WPARAM>{0}));
    TestWindow dlg(L"controls.xml", L"Dlg");
    ASSERT_NE(dlg.Make(h), nullptr);
    driver.Defer([&] { driver.Click(dlg.GetHWND(), L"closebtn"); });
    EXPECT_EQ(dlg.ShowModal(), static_cast<UINT>(IDOK));
    EXPECT_TRUE(IsWindowEnabled(h));
}

TEST_F(QtBackendTest, WindowsMoveDragMinimiseAndCaptureOnTheOffscreenScreen) {
    RECT rc{};
    ASSERT_TRUE(GetWindowRect(h, &rc));
    EXPECT_EQ(rc.right - rc.left, 400);
    w.CenterWindow();
    const RECT work = GetWorkArea(h);
    ASSERT_GT(work.right, 400);
    ASSERT_TRUE(GetWindowRect(h, &rc));
    EXPECT_EQ(rc.left, (work.left + work.right - 400) / 2);
    // Offscreen there is no system move: the window follows the pointer by hand.
    SetWindowPos(h, nullptr, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ASSERT_TRUE(driver.DragBy(h, POINT{20, 10}, 30, 12));
    ASSERT_TRUE(GetWindowRect(h, &rc));
    EXPECT_EQ(rc.left, 130);
    EXPECT_EQ(rc.top, 112);
    ShowWindow(h, SW_MINIMIZE);
    EXPECT_TRUE(IsIconic(h));
    ShowWindow(h, SW_SHOW);
    EXPECT_FALSE(IsIconic(h));
    // Without a pointer grab the capture window gets the other window's clicks.
    TestWindow other(L"controls.xml");
    const HWND o = other.Make(nullptr, true);
    driver.Pump();
    SetWindowPos(o, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetCapture(h);
    w.messages.clear();
    ASSERT_TRUE(driver.ClickAt(o, POINT{5, 6}));
    ReleaseCapture();
    ASSERT_EQ(Of(WM_LBUTTONDOWN).size(), 1u);
    EXPECT_EQ(Of(WM_LBUTTONDOWN)[0].lParam, MAKELPARAM(300 + 5 - 130, 200 + 6 - 112));
    // The window's picture is there for the asking, and a closed window has none.
    EXPECT_NE(Alpha(driver.PixelAt(h, POINT{10, 10})), 0);
    DestroyWindow(o);
    EXPECT_TRUE(driver.Picture(o).Empty());
}

namespace {

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* c = parent->child(i);
        if (!c) continue;
        if (c->text(QAccessible::Name) == name) return c;
        if (QAccessibleInterface* deeper = ChildNamed(c, name)) return deeper;
    }
    return nullptr;
}

}  // namespace

TEST_F(QtBackendTest, TabLeavesTheLineEditAndScreenReadersHearTheControls) {
    // Tab in the shown line edit moves the framework's focus (Qt's own chain would take
    // the keyboard to the window and leave the edit looking focused).
    ASSERT_TRUE(driver.TypeText(h, L"edt", L"ab"));
    ASSERT_TRUE(driver.PressKey(h, VK_TAB));
    EXPECT_TRUE(w.Get<CControlUI>(L"btnGo")->IsFocused());
    ASSERT_TRUE(driver.PressKey(h, VK_TAB, MK_SHIFT));
    EXPECT_TRUE(w.Get<CControlUI>(L"edt")->IsFocused());

    qt::WindowWidget* widget = static_cast<qt::QtWindow*>(detail::NativeOf(h))->widget();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(widget);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);

    QAccessibleInterface* go = ChildNamed(window, QStringLiteral("Go"));
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->role(), QAccessible::Button);
    EXPECT_EQ(go->text(QAccessible::Description), QStringLiteral("出发"));
    EXPECT_TRUE(go->state().focusable);
    EXPECT_EQ(go->parent(), window);
    EXPECT_EQ(window->child(window->indexOfChild(go)), go);
    EXPECT_TRUE(go->rect().contains(widget->mapToGlobal(
        QPoint(driver.CenterOf(h, L"btnGo").x, driver.CenterOf(h, L"btnGo").y))));
    QAccessibleInterface* zero = ChildNamed(window, QStringLiteral("零"));
    ASSERT_NE(zero, nullptr);
    EXPECT_EQ(zero->role(), QAccessible::RadioButton);
    EXPECT_TRUE(zero->state().checked);
    QAccessibleInterface* page1 = ChildNamed(window, QStringLiteral("page1"));
    ASSERT_NE(page1, nullptr);
    EXPECT_EQ(page1->parent()->role(), QAccessible::PageTabList);
    EXPECT_EQ(page1->parent()->child(page1->parent()->childCount()), nullptr);
    EXPECT_EQ(window->child(window->childCount()), nullptr);
    EXPECT_TRUE(ChildNamed(window, QStringLiteral("page0"))->state().invisible);
    EXPECT_FALSE(page1->state().invisible);

    // The press action clicks; a focus change is told with the control's interface
    // (the framework announces every change: KeyboardTest).
    w.notes.clear();
    go->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(w.NoteTypesOf(L"btnGo"), (std::vector<std::wstring>{L"click"}));
    ASSERT_TRUE(driver.PressKey(h, VK_TAB));
    const auto event = qt::FocusEventFor(widget, w.Get<CControlUI>(L"btnGo")->GetAccessId());
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->type(), QAccessible::Focus);
    EXPECT_EQ(event->accessibleInterface(), go);
    EXPECT_EQ(qt::FocusEventFor(widget, 0), nullptr);
    EXPECT_TRUE(go->state().focused);
    EXPECT_EQ(window->focusChild(), go);
    w.Get<CControlUI>(L"btnGo")->SetEnabled(false);
    EXPECT_TRUE(go->state().disabled);

    // A control that is gone leaves an interface that says so.
    w.Get<CListUI>(L"lst")->RemoveAt(0);
    driver.Pump();
    QAccessibleInterface* row1 = ChildNamed(window, QStringLiteral("行1"));
    ASSERT_NE(row1, nullptr);
    EXPECT_EQ(ChildNamed(window, QStringLiteral("行0")), nullptr);
}
