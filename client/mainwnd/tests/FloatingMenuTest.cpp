// The floating window and the popup menu on the real main window: the window's place,
// drag, double-click and menu, the tray menu at the screen's corners, check marks,
// sub-menus and the ways a menu closes.

#include <filesystem>
#include <fstream>

#include "client/frame/FloatToolWnd.h"
#include "client/menu/MenuElementUI.h"
#include "client/menu/MenuWnd.h"
#include "tools/testsupport/MainWindowFixture.h"
#include "tools/testsupport/TempDir.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

using FloatingMenuTest = MainWindowTest;

RECT RectOf(HWND hWnd) {
    RECT rc{};
    GetWindowRect(hWnd, &rc);
    return rc;
}

HWND OnlyMenu() {
    const std::vector<HWND> menus = OpenMenuWindows();
    return menus.size() == 1 ? menus[0] : nullptr;
}

TEST_F(FloatingMenuTest, FloatingWindowKeepsAPlaceOnTheScreenElseTakesTheDefaultCorner) {
    const RECT screen{0, 0, 800, 600};
    const SIZE size{96, 40};
    bool replaced = false;
    struct Case {
        int x, y;
        bool kept;
    };
    for (const Case c : {Case{0, 0, false}, Case{100, 100, true}, Case{0, 100, true},
                         Case{-50, 100, false}, Case{704, 100, true}, Case{705, 100, false},
                         Case{100, 560, true}, Case{100, 561, false}}) {
        const POINT at = FloatingWindowPosition(c.x, c.y, size, &screen, screen, &replaced);
        EXPECT_EQ(replaced, !c.kept) << c.x << "," << c.y;
        EXPECT_EQ(at.x, c.kept ? c.x : 800 - 96 - 20) << c.x << "," << c.y;
        EXPECT_EQ(at.y, c.kept ? c.y : 20) << c.x << "," << c.y;
    }
    // A place on no screen at all.
    EXPECT_EQ(FloatingWindowPosition(3000, 10, size, nullptr, screen, &replaced).x, 684);
    EXPECT_TRUE(replaced);

    // A stored place past the right edge: the real window goes to the corner, which
    // becomes the place in memory and, when the main window ends, in "Config.cfg".
    const std::string config = env_.dataHome() + "/Trovik/Config/Config.cfg";
    testsupport::WriteFile(config, "[BaseSet]\r\nPosX=5000\r\nPosY=10\r\n");
    CreateMainWindow();
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const HWND floating = ClientProcess().floatingWindow.load();
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(GetClassName(floating), L"FloatToolWindow");
    EXPECT_EQ(GetWindowText(floating), L"悬浮窗");
    EXPECT_EQ(RectOf(floating).left, width - 96 - 20);
    EXPECT_EQ(RectOf(floating).top, 20);
    EXPECT_EQ(ProcessClientSettings().PosX, width - 96 - 20);
    SetWindowPos(floating, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    DestroyWindow(hwnd());
    EXPECT_FALSE(IsWindow(floating));  // it goes with the main window
    EXPECT_EQ(ClientProcess().floatingWindow.load(), nullptr);
    const std::string saved = testsupport::ReadFile(config);
    EXPECT_NE(saved.find("PosX=300"), std::string::npos) << saved;
    EXPECT_NE(saved.find("PosY=200"), std::string::npos) << saved;
}

TEST_F(FloatingMenuTest, FloatingWindowDragsBringsTheMainWindowAndOpensTheMenu) {
    const HWND wnd = CreateMainWindow();
    const HWND floating = ClientProcess().floatingWindow.load();
    // The desktop has no tray: the floating window shows, and says so in the menu.
    ASSERT_TRUE(IsWindowVisible(floating));
    const RECT start = RectOf(floating);
    ASSERT_TRUE(driver_.DragBy(floating, POINT{10, 10}, -40, 30));
    EXPECT_EQ(RectOf(floating).left, start.left - 40);
    EXPECT_EQ(RectOf(floating).top, start.top + 30);

    ShowWindow(wnd, SW_HIDE);
    ASSERT_TRUE(driver_.DoubleClick(floating, L"background"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return Visible(); }));
    EXPECT_EQ(GetForegroundWindow(), wnd);

    // The right button opens the menu with its top-left corner at the pointer, pushed
    // left when it would pass the screen's right edge.
    ASSERT_TRUE(driver_.RightClick(floating, L"background"));
    HWND menu = OnlyMenu();
    ASSERT_NE(menu, nullptr);
    POINT cursor{};
    GetCursorPos(&cursor);
    EXPECT_EQ(RectOf(menu).top, cursor.y);
    EXPECT_LE(RectOf(menu).right, GetSystemMetrics(SM_CXSCREEN) - 10);
    const MenuCheckMap first = ClientProcess().menuChecks;
    EXPECT_EQ(first, (MenuCheckMap{{L"Menu_ShowHideMain", true}, {L"Menu_ShowHideFloat", true}}));

    // A second opening rebuilds the same check marks.
    CloseAllMenus();
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));
    ClientProcess().menuChecks[L"Menu_ShowHideMain"] = false;
    ClientProcess().menuChecks[L"Menu_Stale"] = true;
    ASSERT_TRUE(driver_.RightClick(floating, L"background"));
    menu = OnlyMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(ClientProcess().menuChecks, first);

    // "Menu_Settings" reaches the main window through the floating window.
    ActOnDialog(L"ConfigDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnCancel"); });
    ASSERT_TRUE(driver_.Click(menu, L"Menu_Settings"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"ConfigDlg"] == 1; }));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));
}

TEST_F(FloatingMenuTest, TrayMenuStaysOnTheScreenAndShowsItsCheckMarks) {
    driver_.SetSystemTrayAvailable(true);
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.TrayIcons().size() == 1; }));
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);

    // Near the bottom-right corner it opens up and to the left of the pointer.
    SetCursorPos(width - 3, height - 3);
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_RBUTTONUP));
    HWND menu = OnlyMenu();
    ASSERT_NE(menu, nullptr);
    RECT rc = RectOf(menu);
    EXPECT_EQ(rc.right, width - 3);
    EXPECT_EQ(rc.bottom, height - 3);
    EXPECT_GT(rc.bottom - rc.top, 6 * 26);  // six items and two separators

    // The checked item draws its icon, the unchecked one none; separators a line.
    CPaintManagerUI* pm = driver_.Manager(menu);
    const auto iconPixel = [&](const wchar_t* item) {
        const RECT& pos = pm->FindControl(item)->GetPos();
        return driver_.PixelAt(menu, POINT{pos.left + 17, (pos.top + pos.bottom) / 2});
    };
    EXPECT_EQ(ClientProcess().menuChecks.at(L"Menu_ShowHideMain"), true);
    EXPECT_EQ(ClientProcess().menuChecks.at(L"Menu_ShowHideFloat"), false);
    EXPECT_NE(iconPixel(L"Menu_ShowHideMain"), iconPixel(L"Menu_ShowHideFloat"));
    const RECT& settings = pm->FindControl(L"Menu_Settings")->GetPos();
    EXPECT_EQ(driver_.PixelAt(menu, POINT{settings.left + 20, settings.top - 5}), 0xFFDDE3EAu);
    CloseAllMenus();
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));

    // Near the top-left corner it cannot open upwards: it stays inside the screen.
    SetCursorPos(2, 2);
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_RBUTTONUP));
    menu = OnlyMenu();
    ASSERT_NE(menu, nullptr);
    rc = RectOf(menu);
    EXPECT_EQ(rc.left, 0);
    EXPECT_EQ(rc.top, 0);

    // Choosing the checked "Menu_ShowHideMain" unchecks it and puts the window away.
    ASSERT_TRUE(driver_.Click(menu, L"Menu_ShowHideMain"));
    ASSERT_TRUE(driver_.PumpUntil([&] { return !Visible(); }));
    EXPECT_FALSE(ClientProcess().menuChecks.at(L"Menu_ShowHideMain"));
    EXPECT_TRUE(OpenMenuWindows().empty() ||
                driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));
}

// A menu with a sub-menu, given as layout text.
constexpr const wchar_t* kNestedMenu =
    L"<Window><Default name=\"ExplandIcon\" value=\"MenuArrow.png\"/>"
    L"<Menu name=\"m\" inset=\"2,2,2,2\" itemtextpadding=\"35,0,10,0\" bkcolor=\"#FFFFFFFF\">"
    L"<MenuElement name=\"More\" text=\"更多\" expland=\"true\" height=\"26\">"
    L"<MenuElement name=\"Sub_One\" text=\"一\" checkitem=\"true\" ischeck=\"true\" height=\"26\"/>"
    L"<MenuElement name=\"Sub_Two\" text=\"二\" height=\"26\"/></MenuElement>"
    L"<MenuElement name=\"Plain\" text=\"普通\" height=\"26\"/></Menu></Window>";

TEST_F(FloatingMenuTest, SubMenusOpenBesideTheirItemAndCloseByKeysAndClicksOutside) {
    const HWND wnd = CreateMainWindow();
    const auto open = [&](int x, int y) {
        auto menu = std::make_unique<CMenuWnd>(wnd);
        ASSERT_TRUE(menu->Init(nullptr, kNestedMenu, &wnd_->GetPaintManager(),
                               &ClientProcess().menuChecks, 0, x, y));
        menu.release();
    };
    ClientProcess().menuChecks.clear();
    open(100, 100);
    const HWND top = OnlyMenu();
    ASSERT_NE(top, nullptr);
    // The layout's check state fills a check map that has none for the item.
    EXPECT_TRUE(ClientProcess().menuChecks.at(L"Sub_One"));
    auto* more = static_cast<CMenuElementUI*>(driver_.Find(top, L"More"));
    ASSERT_EQ(more->GetCount(), 2);  // the sub-items, hidden inside
    EXPECT_FALSE(more->GetItemAt(0)->IsVisible());

    // Pointing at the item opens its sub-menu beside the menu, at the item's height.
    ASSERT_TRUE(driver_.Hover(top, L"More"));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 2; }));
    HWND sub = OpenMenuWindows()[1];
    EXPECT_EQ(RectOf(sub).left, RectOf(top).right);
    EXPECT_EQ(RectOf(sub).top, RectOf(top).top + more->GetPos().top);
    EXPECT_EQ(more->GetCount(), 0);
    ASSERT_NE(driver_.Find(sub, L"Sub_Two"), nullptr);

    // Left closes the sub-menu only, and the items go back into their item.
    ASSERT_TRUE(driver_.PressKey(sub, VK_LEFT));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 1; }));
    EXPECT_EQ(more->GetCount(), 2);
    EXPECT_FALSE(more->GetItemAt(1)->IsVisible());

    // Choosing a check item toggles its mark, and every popup closes.
    ASSERT_TRUE(driver_.MoveMouse(top, driver_.CenterOf(top, L"Plain")));
    ASSERT_TRUE(driver_.Hover(top, L"More"));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 2; }));
    sub = OpenMenuWindows()[1];
    ASSERT_TRUE(driver_.Click(sub, L"Sub_One"));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));
    EXPECT_FALSE(ClientProcess().menuChecks.at(L"Sub_One"));

    // Escape on the top menu closes all; near the right edge the sub-menu opens left.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    open(width - 150, 100);
    const HWND right = OnlyMenu();
    ASSERT_TRUE(driver_.Hover(right, L"More"));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 2; }));
    EXPECT_EQ(RectOf(OpenMenuWindows()[1]).right, RectOf(right).left);
    ASSERT_TRUE(driver_.PressKey(right, VK_ESCAPE));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));

    // A click outside every popup closes them all and reaches nothing beneath.
    open(100, 100);
    const HWND again = OnlyMenu();
    ASSERT_TRUE(driver_.Hover(again, L"More"));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().size() == 2; }));
    ASSERT_TRUE(driver_.Click(wnd, L"btnLinkSite0"));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));
    EXPECT_TRUE(OpenedUrls().empty());
}

}  // namespace

namespace {

TEST_F(FloatingMenuTest, KeysMoveOverTheItemsAndChooseOne) {
    driver_.SetSystemTrayAvailable(true);
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.PumpUntil([&] { return driver_.TrayIcons().size() == 1; }));
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_RBUTTONUP));
    HWND menu = OnlyMenu();
    ASSERT_NE(menu, nullptr);
    auto* list = static_cast<CListUI*>(driver_.Find(menu, L"menuTray"));
    ASSERT_NE(list, nullptr);

    // The list has the keys: Right means nothing there, Down walks past the separator.
    ASSERT_TRUE(driver_.PressKey(menu, VK_RIGHT));
    EXPECT_EQ(list->GetCurSel(), -1);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(driver_.PressKey(menu, VK_DOWN));
    EXPECT_EQ(list->GetCurSel(), list->GetItemIndex(driver_.Find(menu, L"Menu_Settings")));
    ASSERT_TRUE(driver_.PressKey(menu, VK_UP));
    EXPECT_EQ(list->GetCurSel(), 1);
    ASSERT_TRUE(driver_.PressKey(menu, VK_DOWN));
    ActOnDialog(L"ConfigDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnCancel"); });
    ASSERT_TRUE(driver_.PressKey(menu, VK_RETURN));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"ConfigDlg"] == 1; }));
    ASSERT_TRUE(driver_.PumpUntil([] { return OpenMenuWindows().empty(); }));

    // The item under the pointer takes the keys.
    ASSERT_TRUE(driver_.TrayEvent(wnd, 102, WM_RBUTTONUP));
    menu = OnlyMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(driver_.Hover(menu, L"Menu_About"));
    ActOnDialog(L"AboutDlg", [this](HWND dlg) { driver_.Click(dlg, L"btnOk"); });
    ASSERT_TRUE(driver_.PressKey(menu, VK_RETURN));
    ASSERT_TRUE(driver_.PumpUntil([&] { return dialogsActedOn_[L"AboutDlg"] == 1; }));
}

// The client's own controls are known to layouts by element name, with or without a
// window's CreateControl.
TEST(ClientControlClasses, LayoutsBuildThemByElementName) {
    CDialogBuilder builder;
    std::unique_ptr<CControlUI> tree(
        builder.Create(L"<VerticalLayout><Menu/><MenuElement/><SkinPictureItem/>"
                       L"<TrovikResultItem/></VerticalLayout>"));
    ASSERT_NE(tree, nullptr);
    auto* items = static_cast<CContainerUI*>(tree.get());
    ASSERT_EQ(items->GetCount(), 4);
    EXPECT_NE(items->GetItemAt(0)->GetInterface(L"Menu"), nullptr);
    EXPECT_NE(items->GetItemAt(1)->GetInterface(L"MenuElement"), nullptr);
    EXPECT_NE(items->GetItemAt(2)->GetInterface(L"SkinPictureItem"), nullptr);
    EXPECT_NE(items->GetItemAt(3)->GetInterface(L"TrovikResultItem"), nullptr);
}

}  // namespace
