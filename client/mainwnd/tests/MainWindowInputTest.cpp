// Wheel paging, hover pausing the animations, the tray icon and its menu, the lists
// message of the download thread, and the clicks that open links.

#include <thread>

#include "tools/testsupport/TempDir.h"

#include "tools/testsupport/MainWindowFixture.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

using InputTest = MainWindowTest;

// Puts `count` plain pages and their select buttons in place, as a search would.
void AddPages(CTrovik& wnd, int count) {
    for (int i = 0; i < count; ++i) {
        wnd.controls().resultTabs->Add(new CVerticalLayoutUI);
        auto* select = new COptionUI;
        select->SetName((L"btnSelectTv" + std::to_wstring(i)).c_str());
        select->SetFixedHeight(16);
        wnd.controls().selectColumn->Add(select);
    }
    wnd.controls().startView->SetVisible(false);
    wnd.controls().resultView->SetVisible(true);
    wnd.controls().selectColumn->SetVisible(true);
    wnd.controls().resultTabs->SelectItem(0);
}

bool SelectButtonOn(UiLib::testing::UiTestDriver& driver, HWND hwnd, int index) {
    auto* option = static_cast<COptionUI*>(
        driver.Find(hwnd, (L"btnSelectTv" + std::to_wstring(index)).c_str())
            ->GetInterface(L"Option"));
    return option && option->IsSelected();
}

TEST_F(InputTest, WheelPagesThroughTheResultsAndStopsAtBothEnds) {
    const HWND wnd = CreateMainWindow();
    AddPages(*wnd_, 3);
    driver_.Pump();
    const POINT over = driver_.CenterOf(wnd, L"vlSearchResult");

    ASSERT_TRUE(driver_.Wheel(wnd, over, WHEEL_DELTA));  // away from the user at page 0
    driver_.Pump();
    EXPECT_EQ(wnd_->controls().resultTabs->GetCurSel(), 0);
    EXPECT_FALSE(SelectButtonOn(driver_, wnd, 0));  // nothing moved, nothing selected

    ASSERT_TRUE(driver_.Wheel(wnd, over, -WHEEL_DELTA));
    ASSERT_TRUE(driver_.PumpUntil([&] { return wnd_->controls().resultTabs->GetCurSel() == 1; }));
    EXPECT_TRUE(SelectButtonOn(driver_, wnd, 1));
    ASSERT_TRUE(driver_.Wheel(wnd, over, -WHEEL_DELTA));
    ASSERT_TRUE(driver_.PumpUntil([&] { return wnd_->controls().resultTabs->GetCurSel() == 2; }));
    EXPECT_TRUE(SelectButtonOn(driver_, wnd, 2));

    ASSERT_TRUE(driver_.Wheel(wnd, over, -WHEEL_DELTA));  // past the last page
    driver_.Pump();
    EXPECT_EQ(wnd_->controls().resultTabs->GetCurSel(), 2);

    ASSERT_TRUE(driver_.Wheel(wnd, over, WHEEL_DELTA));
    ASSERT_TRUE(driver_.PumpUntil([&] { return wnd_->controls().resultTabs->GetCurSel() == 1; }));
}

TEST_F(InputTest, WheelWithoutPagesChangesNothing) {
    const HWND wnd = CreateMainWindow();
    SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    SendMessageW(wnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(wnd_->controls().resultTabs->GetCount(), 0);
    EXPECT_EQ(wnd_->controls().resultTabs->GetCurSel(), -1);
}

TEST_F(InputTest, HoverOverTheBannerBandPausesTheAnimations) {
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.HoverAt(wnd, POINT{200, 100}));
    ASSERT_TRUE(driver_.PumpUntil([] { return !ClientProcess().animationEnabled.load(); }));
    ASSERT_TRUE(driver_.LeaveWindow(wnd));
    ASSERT_TRUE(driver_.PumpUntil([] { return ClientProcess().animationEnabled.load(); }));

    ASSERT_TRUE(driver_.HoverAt(wnd, POINT{200, 100}));
    ASSERT_TRUE(driver_.PumpUntil([] { return !ClientProcess().animationEnabled.load(); }));
    ASSERT_TRUE(driver_.HoverAt(wnd, POINT{200, 400}));
    ASSERT_TRUE(driver_.PumpUntil([] { return ClientProcess().animationEnabled.load(); }));
}

TEST_F(InputTest, AnimationTimersAdvanceOnlyWhileEnabled) {
    const HWND wnd = CreateMainWindow();
    KillTimer(wnd, TIMER_BANNER);  // only the ticks sent here count
    wnd_->model().banner.slide = BannerSlide{};
    ClientProcess().animationEnabled.store(false);
    SendMessageW(wnd, WM_TIMER, TIMER_BANNER, 0);
    EXPECT_EQ(wnd_->model().banner.slide.step, 0);
    ClientProcess().animationEnabled.store(true);
    SendMessageW(wnd, WM_TIMER, TIMER_BANNER, 0);
    EXPECT_EQ(wnd_->model().banner.slide.step, 1);
    SendMessageW(wnd, WM_TIMER, TIMER_WAITING, 0);  // not the banner's timer
    EXPECT_EQ(wnd_->model().banner.slide.step, 1);
}

TEST_F(InputTest, TheBandRunsFromY33ToY147) {
    const HWND wnd = CreateMainWindow();
    struct Case {
        int x, y;
        bool enabled;
    };
    for (const Case c : {Case{0, 32, true}, Case{409, 32, true}, Case{0, 33, false},
                         Case{409, 147, false}, Case{0, 148, true}, Case{100, 600, true}}) {
        ClientProcess().animationEnabled.store(!c.enabled);
        SendMessageW(wnd, WM_MOUSEHOVER, 0, MAKELPARAM(c.x, c.y));
        EXPECT_EQ(ClientProcess().animationEnabled.load(), c.enabled) << c.x << "," << c.y;
    }
}

TEST_F(InputTest, TrayIconComesWhenATrayAppearsAndAHiddenWindowReturnsWhenItGoes) {
    const HWND wnd = CreateMainWindow();
    // No tray: the window's first ticks pass and no icon appears.
    ASSERT_TRUE(driver_.PumpUntil([&] { return wnd_->model().banner.slide.step >= 3; }));
    EXPECT_TRUE(driver_.TrayIcons().empty());

    driver_.SetSystemTrayAvailable(true);
    ASSERT_TRUE(driver_.PumpUntil([&] { return !driver_.TrayIcons().empty(); }));
    const auto icons = driver_.TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].hWnd, wnd);
    EXPECT_EQ(icons[0].id, 102u);
    EXPECT_EQ(icons[0].callbackMessage, 28u);
    EXPECT_EQ(icons[0].tip, L"Trovik");
    EXPECT_NE(icons[0].icon, nullptr);

    // Hidden in the tray, then the tray goes: the window waits on the task bar.
    SendMessageW(wnd, WM_CLOSE, 0, 0);
    ASSERT_FALSE(Visible());
    driver_.SetSystemTrayAvailable(false);
    ASSERT_TRUE(driver_.PumpUntil([&] { return Visible() && IsIconic(wnd); }));

    // The window's end takes the icon away.
    DestroyWindow(wnd);
    driver_.Pump();
    EXPECT_TRUE(driver_.TrayIcons().empty());
}

TEST_F(InputTest, TrayClicksShowTheWindowAndOpenTheMenu) {
    driver_.SetSystemTrayAvailable(true);
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.PumpUntil([&] { return !driver_.TrayIcons().empty(); }));

    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_RBUTTONUP));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 1; }));
    EXPECT_EQ(ClientProcess().menuChecks,
              (MenuCheckMap{{L"Menu_ShowHideMain", true}, {L"Menu_ShowHideFloat", false}}));
    CloseAllMenus();
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));

    ShowWindow(wnd, SW_HIDE);
    ProcessClientSettings().ShowFloatingWindow = true;
    ClientProcess().menuChecks[L"Menu_Stale"] = true;  // the map is rebuilt each time
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_RBUTTONUP));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 1; }));
    EXPECT_EQ(ClientProcess().menuChecks,
              (MenuCheckMap{{L"Menu_ShowHideMain", false}, {L"Menu_ShowHideFloat", true}}));
    CloseAllMenus();
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));

    // A left click (press and release) brings the hidden window back to the front.
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_LBUTTONDOWN));
    ASSERT_TRUE(driver_.PumpUntil([&] { return Visible(); }));
    EXPECT_EQ(GetForegroundWindow(), wnd);

    // Other tray messages do nothing.
    ShowWindow(wnd, SW_HIDE);
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_LBUTTONDBLCLK));
    driver_.Pump();
    EXPECT_FALSE(Visible());
    EXPECT_TRUE(OpenMenuWindows().empty());
}

TEST_F(InputTest, ListsMessageReloadsWhatChanged) {
    const HWND wnd = CreateMainWindow();
    ASSERT_EQ(wnd_->model().lists.hot.size(), 5u);
    // Lists as a download leaves them: one show and one site with their pictures.
    const std::string data = env_.dataHome() + "/Trovik/";
    testsupport::WriteFile(data + "Hot/Hot.cfg",
                           "[HotLst]\r\nImgName0=a.jpg\r\nHotName0=Fresh\r\nHotUrl0=http://h/\r\n");
    testsupport::WriteFile(data + "Hot/a.jpg", "picture");
    testsupport::WriteFile(
        data + "LinkSite/LinkSite.cfg",
        "[LinkSite]\r\nImgName0=s.png\r\nDescript0=Site\r\nLinkUrl0=http://s/\r\n");
    testsupport::WriteFile(data + "LinkSite/s.png", "logo");

    SendMessageW(wnd, UMSG_LISTS_REFRESHED, 0, 0);  // nothing changed: nothing reloads
    EXPECT_EQ(wnd_->model().lists.hot.size(), 5u);
    EXPECT_EQ(driver_.Find(wnd, L"btnHot0")->GetText(), L"长河落日");

    SendMessageW(wnd, UMSG_LISTS_REFRESHED, 1, 0);
    ASSERT_EQ(wnd_->model().lists.hot.size(),
              5u);  // the four shows the download lacks are the defaults'
    EXPECT_EQ(wnd_->model().lists.hot[0].name, L"Fresh");
    EXPECT_EQ(driver_.Find(wnd, L"btnHot0")->GetText(), L"Fresh");
    EXPECT_EQ(driver_.Find(wnd, L"btnLinkSite0")->GetUserData(), L"http://127.0.0.1:18632/site/1/");

    SendMessageW(wnd, UMSG_LISTS_REFRESHED, 0, 1);
    EXPECT_EQ(driver_.Find(wnd, L"btnLinkSite0")->GetUserData(), L"http://s/");
    EXPECT_EQ(wnd_->model().lists.sites[0].image, Utf8ToWide(data + "LinkSite/s.png"));
}

TEST_F(InputTest, ListsMessageFromAWorkerThreadIsHandledOnTheWindow) {
    const HWND wnd = CreateMainWindow();
    const std::string data = env_.dataHome() + "/Trovik/";
    testsupport::WriteFile(data + "Hot/Hot.cfg",
                           "[HotLst]\r\nImgName0=a.jpg\r\nHotName0=Fresh\r\nHotUrl0=http://h/\r\n");
    testsupport::WriteFile(data + "Hot/a.jpg", "picture");
    std::thread worker([wnd] { SendMessageW(wnd, UMSG_LISTS_REFRESHED, 1, 1); });
    ASSERT_TRUE(
        driver_.PumpUntil([&] { return driver_.Find(wnd, L"btnHot0")->GetText() == L"Fresh"; }));
    worker.join();
}

TEST_F(InputTest, LinkButtonsOpenTheirUserData) {
    const HWND wnd = CreateMainWindow();
    driver_.Find(wnd, L"btnHot0")->SetUserData(L"http://127.0.0.1:18632/detail/1001.html");
    driver_.Find(wnd, L"btnLinkSite2")->SetUserData(L"http://127.0.0.1:18632/site/3/");
    driver_.Find(wnd, L"btnHistory1")->SetUserData(L"");  // nothing to open
    driver_.Pump();
    ASSERT_TRUE(driver_.Click(wnd, L"btnHot0"));
    ASSERT_TRUE(driver_.Click(wnd, L"btnHistory1"));
    ASSERT_TRUE(driver_.Click(wnd, L"btnLinkSite2"));
    driver_.Pump();
    EXPECT_EQ(OpenedUrls(), (std::vector<std::string>{"http://127.0.0.1:18632/detail/1001.html",
                                                      "http://127.0.0.1:18632/site/3/"}));
}

TEST_F(InputTest, BannerClickOpensTheFirstHotEntryAfterTheListShrank) {
    const HWND wnd = CreateMainWindow();
    KillTimer(wnd, TIMER_BANNER);  // the banner would move on by itself
    wnd_->model().lists.hot = {{L"长河落日", L"http://127.0.0.1:18632/detail/1001.html", L""},
                               {L"迷城追凶", L"http://127.0.0.1:18632/detail/1002.html", L""}};
    wnd_->model().banner.bannerIndex = 1;
    ASSERT_TRUE(driver_.Click(wnd, L"btnScrollTv"));
    wnd_->model().banner.bannerIndex = 4;  // beyond the two entries
    ASSERT_TRUE(driver_.Click(wnd, L"btnScrollTv"));
    driver_.Pump();
    EXPECT_EQ(wnd_->model().banner.bannerIndex, 0);
    EXPECT_EQ(OpenedUrls(), (std::vector<std::string>{"http://127.0.0.1:18632/detail/1002.html",
                                                      "http://127.0.0.1:18632/detail/1001.html"}));

    wnd_->model().lists.hot.clear();  // an empty list opens nothing
    ASSERT_TRUE(driver_.Click(wnd, L"btnScrollTv"));
    driver_.Pump();
    EXPECT_EQ(OpenedUrls().size(), 2u);
}

TEST_F(InputTest, CaptionButtonsOpenTheirDialogs) {
    const HWND wnd = CreateMainWindow();
    ActOnDialog(L"ConfigDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnCancel"); });
    ASSERT_TRUE(driver_.Click(wnd, L"btnAppSet"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"ConfigDlg"] == 1; }));
    ActOnDialog(L"SkinSetDlg", [this](HWND dlg) { driver_.Click(dlg, L"closebtn"); });
    ASSERT_TRUE(driver_.Click(wnd, L"btnSetSkin"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"SkinSetDlg"] == 1; }));
    driver_.Pump();
    EXPECT_EQ(GetForegroundWindow(), wnd);
}

}  // namespace

namespace {

// From the search box Tab walks every control a person can see, in reading order, each
// with a focus ring (its skin picture or the framework's teal ring) and a name a screen
// reader can say; the caption's hide and quit buttons say what they do.
TEST_F(InputTest, TabWalksTheVisibleControlsEachShowingItsFocus) {
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.Click(wnd, L"edtSearchText"));
    std::vector<std::wstring> order;
    CPaintManagerUI& pm = wnd_->GetPaintManager();
    const SIZE client = pm.GetClientSize();
    for (int i = 0; i < 60; ++i) {
        ASSERT_TRUE(driver_.PressKey(wnd, VK_TAB));
        CControlUI* focus = pm.GetFocus();
        ASSERT_NE(focus, nullptr);
        const std::wstring name = focus->GetName().str();
        if (name == L"edtSearchText") break;
        order.push_back(name);
        EXPECT_FALSE(focus->DescribeForAccessibility().name.empty()) << name;
        const RECT rc = focus->GetPos();
        EXPECT_TRUE(rc.left >= 0 && rc.top >= 0 && rc.right <= client.cx &&
                    rc.bottom <= client.cy && rc.right > rc.left)
            << name;
        if (name == L"closebtn" || name == L"BtnQuit") {
            // The caption's buttons have no focused picture: the framework's ring.
            EXPECT_EQ(driver_.PixelAt(wnd, POINT{rc.left, (rc.top + rc.bottom) / 2}), 0xFF168A9Au)
                << name;
        }
    }
    const std::vector<std::wstring> expected{
        L"btnSearch",    L"btnHot0",      L"btnHot1",      L"btnHot2",      L"btnHot3",
        L"btnHot4",      L"btnLinkSite0", L"btnLinkSite1", L"btnLinkSite2", L"btnLinkSite3",
        L"btnLinkSite4", L"btnLinkSite5", L"btnLinkSite6", L"btnHistory0",  L"btnHistory1",
        L"btnHistory2",  L"btnHistory3",  L"btnHistory4",  L"btnHistory5",  L"btnSetSkin",
        L"btnAppSet",    L"closebtn",     L"BtnQuit",      L"btnScrollTv"};
    EXPECT_EQ(order, expected);
    EXPECT_EQ(pm.FindControl(L"closebtn")->DescribeForAccessibility().name, L"收起到托盘");
    EXPECT_EQ(pm.FindControl(L"BtnQuit")->DescribeForAccessibility().name, L"退出Trovik");

    // Shift+Tab goes back from the search box to the banner.
    ASSERT_TRUE(driver_.PressKey(wnd, VK_TAB, MK_SHIFT));
    EXPECT_EQ(pm.GetFocus()->GetName(), L"btnScrollTv");
}

TEST_F(InputTest, PagingKeysTurnTheResultPagesLikeTheWheel) {
    const HWND wnd = CreateMainWindow();
    AddPages(*wnd_, 3);
    CPaintManagerUI& pm = wnd_->GetPaintManager();
    pm.FindControl(L"btnSearch")->SetFocus();
    const auto page = [&] { return wnd_->controls().resultTabs->GetCurSel(); };
    const auto press = [&](UINT vk) {
        EXPECT_TRUE(driver_.PressKey(wnd, vk));
        return page();
    };
    EXPECT_EQ(press(VK_NEXT), 1);
    EXPECT_TRUE(SelectButtonOn(driver_, wnd, 1));
    EXPECT_EQ(press(VK_DOWN), 2);
    EXPECT_EQ(press(VK_DOWN), 2);  // the last page stays
    EXPECT_EQ(press(VK_HOME), 0);
    EXPECT_TRUE(SelectButtonOn(driver_, wnd, 0));
    EXPECT_EQ(press(VK_END), 2);
    EXPECT_TRUE(SelectButtonOn(driver_, wnd, 2));
    EXPECT_EQ(press(VK_PRIOR), 1);
    EXPECT_EQ(press(VK_UP), 0);
    EXPECT_EQ(press(VK_UP), 0);

    // In the search box the arrows belong to the text; the page keys still page.
    ASSERT_TRUE(driver_.Click(wnd, L"edtSearchText"));
    EXPECT_EQ(press(VK_DOWN), 0);
    EXPECT_EQ(press(VK_NEXT), 1);
    EXPECT_EQ(press(VK_UP), 1);
    SendMessageW(wnd, WM_KEYDOWN, VK_HOME, 0);  // as if the box had not used it
    EXPECT_EQ(page(), 1);

    // Escape puts nothing away: the window stays where the person sees it.
    ASSERT_TRUE(driver_.PressKey(wnd, VK_ESCAPE));
    driver_.Pump();
    EXPECT_TRUE(IsWindowVisible(wnd));
}

}  // namespace
