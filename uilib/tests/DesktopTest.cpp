// The desktop's services as a program sees them: tray icons and the tray's presence,
// question boxes, native menus, and the announcement of windows to other processes.

#include <gtest/gtest.h>

#include <cwchar>
#include <functional>
#include <stdexcept>
#include <thread>

#include "TestWindow.h"

using namespace UiLib;
using namespace uilibtest;

namespace {

class DesktopTest : public ::testing::Test {
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

TEST_F(DesktopTest, TrayIconAddDeleteAndCallback) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    const unsigned char png[] = {0x89, 'P', 'N', 'G'};  // not decodable: the icon stays blank
    RegisterIconResource(102, png, sizeof png);
    NOTIFYICONDATAW data;
    data.hWnd = h;
    data.uID = 102;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = 28;
    data.hIcon = LoadIconW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCE(102));
    EXPECT_NE(data.hIcon, nullptr);
    std::wcscpy(data.szTip, L"Trovik");
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &data));  // a repeated add fails harmlessly
    ASSERT_EQ(driver.TrayIcons().size(), 1u);
    EXPECT_EQ(driver.TrayIcons()[0].tip, L"Trovik");
    ASSERT_TRUE(driver.TrayEvent(h, 102, WM_RBUTTONUP));
    ASSERT_TRUE(driver.TrayEvent(h, 102, WM_LBUTTONDBLCLK));
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, 28, 102) == 2; }));
    std::vector<LPARAM> mouse;
    for (const Message& m : w.messages) {
        if (m.msg == 28) mouse.push_back(m.lParam);
    }
    EXPECT_EQ(mouse, (std::vector<LPARAM>{0x205, 515}));
    EXPECT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_FALSE(Shell_NotifyIconW(NIM_DELETE, &data));
    EXPECT_TRUE(driver.TrayIcons().empty());
    driver.SetSystemTrayAvailable(true);
    EXPECT_TRUE(IsSystemTrayAvailable());
    driver.SetSystemTrayAvailable(false);
    EXPECT_FALSE(IsSystemTrayAvailable());
    // The paint manager's tray object and an icon added directly go with their window.
    ASSERT_TRUE(w.Pm().GetTrayObject().CreateTrayIcon(h, 5, L"自动更新程序", nullptr, 2025));
    ASSERT_TRUE(Shell_NotifyIconW(NIM_ADD, &data));
    EXPECT_EQ(driver.TrayIcons().size(), 2u);
    DestroyWindow(h);
    EXPECT_TRUE(driver.TrayIcons().empty());
}

TEST_F(DesktopTest, QuestionBoxIsAnsweredByTheDriver) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    driver.AnswerNextQuestionBoxes({IDYES, IDNO});
    EXPECT_EQ(MessageBoxW(h, L"确定终止更新吗？", L"询问", MB_YESNO | MB_ICONQUESTION), IDYES);
    int fromWorker = 0;
    std::thread worker(
        [&] { fromWorker = MessageBoxW(h, L"是否现在更新?", L"友情提示", 0x40024); });
    ASSERT_TRUE(driver.PumpUntil([&] { return driver.QuestionsAsked().size() == 2; }));
    worker.join();
    EXPECT_EQ(fromWorker, IDNO);
    ASSERT_EQ(driver.QuestionsAsked().size(), 2u);
    EXPECT_EQ(driver.QuestionsAsked()[0].text, L"确定终止更新吗？");
    EXPECT_EQ(driver.QuestionsAsked()[0].caption, L"询问");
    EXPECT_EQ(driver.QuestionsAsked()[1].type, 0x40024u);
    EXPECT_EQ(driver.UnexpectedQuestionBoxes(), 0);
    EXPECT_EQ(MessageBoxW(h, L"?", L"?", MB_YESNO), IDNO);  // nothing queued
    EXPECT_EQ(driver.UnexpectedQuestionBoxes(), 1);
}

TEST_F(DesktopTest, NativeMenuChoiceArrivesAsCommand) {
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 40002, L"显示");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, 40003, L"退出");
    driver.PickNextMenuItems({40003, 0});
    EXPECT_TRUE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, h));
    EXPECT_FALSE(TrackPopupMenu(menu, TPM_RIGHTBUTTON, 10, 10, 0, h));  // dismissed
    ASSERT_TRUE(driver.PumpUntil([&] { return Count(w, WM_COMMAND, 40003) == 1; }));
    ASSERT_EQ(driver.MenusShown().size(), 2u);
    ASSERT_EQ(driver.MenusShown()[0].size(), 3u);
    EXPECT_EQ(driver.MenusShown()[0][0].text, L"显示");
    EXPECT_TRUE(driver.MenusShown()[0][1].separator);
    EXPECT_TRUE(DestroyMenu(menu));
}

namespace {

// Announcements as a window registry would keep them.
struct FakeRegistry {
    struct Entry {
        std::wstring className;
        std::wstring title;
        std::function<void()> show;
        bool live = true;
    };
    std::vector<Entry> entries;
};

class FakeAnnouncement : public IWindowAnnouncement {
public:
    FakeAnnouncement(FakeRegistry& registry, size_t index) : registry_(registry), index_(index) {}
    ~FakeAnnouncement() override { registry_.entries[index_].live = false; }
    void SetTitle(const std::wstring& title) override { registry_.entries[index_].title = title; }

private:
    FakeRegistry& registry_;
    size_t index_;
};

}  // namespace

TEST_F(DesktopTest, TopLevelWindowsAreAnnouncedAndShownWhenAnotherProcessAsks) {
    FakeRegistry registry;
    SetWindowAnnouncer([&](const std::wstring& cls, const std::wstring& title,
                           std::function<void()> show) -> std::unique_ptr<IWindowAnnouncement> {
        if (cls == L"Refused") throw std::runtime_error("no runtime folder");
        registry.entries.push_back(FakeRegistry::Entry{cls, title, std::move(show)});
        return std::make_unique<FakeAnnouncement>(registry, registry.entries.size() - 1);
    });
    TestWindow w(L"controls.xml", L"TrovikarClient");
    const HWND h = w.Make();
    TestWindow owned(L"controls.xml", L"MsgDlg");
    owned.Make(h);  // owned windows are not announced
    TestWindow refused(L"controls.xml", L"Refused");
    EXPECT_NE(refused.Make(), nullptr);  // a failing announcer leaves the window working
    ASSERT_EQ(registry.entries.size(), 1u);
    EXPECT_EQ(registry.entries[0].className, L"TrovikarClient");
    EXPECT_EQ(registry.entries[0].title, L"测试窗口");
    SetWindowTextW(h, L"Trovik");
    EXPECT_EQ(registry.entries[0].title, L"Trovik");
    // The request comes on the registry's own thread; the window shows on the UI thread.
    EXPECT_FALSE(IsWindowVisible(h));
    std::thread asker(registry.entries[0].show);
    asker.join();
    ASSERT_TRUE(driver.PumpUntil([&] { return IsWindowVisible(h) != FALSE; }));
    EXPECT_EQ(GetForegroundWindow(), h);
    DestroyWindow(h);
    EXPECT_FALSE(registry.entries[0].live);
    SetWindowAnnouncer(nullptr);
    TestWindow later(L"controls.xml", L"TrovikarClient");
    later.Make();
    EXPECT_EQ(registry.entries.size(), 1u);
}

TEST_F(DesktopTest, EveryWindowHearsWhenTheTrayComesOrGoes) {
    driver.SetSystemTrayAvailable(false);
    TestWindow a(L"controls.xml");
    TestWindow b(L"controls.xml");
    a.Make();
    b.Make();
    const auto changes = [](const TestWindow& w) {
        std::vector<WPARAM> seen;
        for (const Message& m : w.messages) {
            if (m.msg == UIMSG_TRAYCHANGED) seen.push_back(m.wParam);
        }
        return seen;
    };
    driver.SetSystemTrayAvailable(true);
    driver.SetSystemTrayAvailable(true);  // no change: no news
    ASSERT_TRUE(driver.PumpUntil([&] { return changes(b).size() == 1; }));
    driver.SetSystemTrayAvailable(false);
    ASSERT_TRUE(driver.PumpUntil([&] { return changes(b).size() == 2; }));
    EXPECT_EQ(changes(a), (std::vector<WPARAM>{1, 0}));
    EXPECT_EQ(changes(b), (std::vector<WPARAM>{1, 0}));
    EXPECT_FALSE(IsSystemTrayAvailable());
}

TEST(DesktopWithoutBackend, NobodyAnswersAndNothingIsShown) {
    ASSERT_EQ(backend::CurrentBackend(), nullptr);
    EXPECT_EQ(MessageBoxW(nullptr, L"?", L"?", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"?", L"?", MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxW(nullptr, L"?", L"?", MB_OK), IDCANCEL);
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 40001, L"退出");
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, nullptr), 0);
    DestroyMenu(menu);
    EXPECT_FALSE(IsSystemTrayAvailable());
}

TEST_F(DesktopTest, ScreensAnswerForPointsAndWindowsOffEveryScreen) {
    const POINT outside{5000, 5000};
    EXPECT_EQ(MonitorFromPoint(outside, MONITOR_DEFAULTTONULL), nullptr);
    const HMONITOR primary = MonitorFromPoint(outside, MONITOR_DEFAULTTOPRIMARY);
    ASSERT_NE(primary, nullptr);
    EXPECT_EQ(MonitorFromPoint(POINT{10, 10}, MONITOR_DEFAULTTONULL), primary);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfoW(primary, &info));
    EXPECT_EQ(info.rcMonitor.right, 1280);
    EXPECT_EQ(info.rcWork.bottom, 760);  // less the panel
    EXPECT_EQ(info.dwFlags, 1u);
    EXPECT_FALSE(GetMonitorInfoW(reinterpret_cast<HMONITOR>(std::uintptr_t{2}), &info));
    TestWindow w(L"controls.xml");
    const HWND h = w.Make();
    SetWindowPos(h, nullptr, 9000, 9000, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST), primary);
    EXPECT_EQ(GetWorkArea(h).bottom, 760);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
}
