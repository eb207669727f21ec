// The main window after start-up: the initialisation order, its views and search box,
// the sub-layouts it builds and the saved background picture.

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "client/core/ClientPaths.h"
#include "client/frame/FloatToolWnd.h"
#include "client/mainwnd/MainViews.h"
#include "platform/CodePage.h"
#include "platform/ProfileFile.h"
#include "tools/testsupport/MainWindowFixture.h"
#include "tools/testsupport/WaitFor.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

using StartTest = MainWindowTest;

TEST_F(StartTest, InitialisationRunsEveryStepInOrder) {
    PlaceUpdater();
    const HWND wnd = CreateMainWindow();
    ASSERT_NE(wnd, nullptr);
    EXPECT_EQ(GetClassName(wnd), L"TrovikarClient");
    EXPECT_EQ(GetWindowText(wnd), L"Trovik");
    EXPECT_EQ(wnd_->model().initialWidth, 410);
    EXPECT_EQ(wnd_->model().initialHeight, 640);
    EXPECT_EQ(ClientProcess().mainWindow.load(), wnd);

    // The lists are loaded and the floating window exists.
    EXPECT_EQ(wnd_->model().lists.hot.size(), 5u);
    EXPECT_EQ(wnd_->model().lists.sites.size(), 7u);
    EXPECT_EQ(wnd_->model().lists.samples.size(), 6u);
    const HWND floating = ClientProcess().floatingWindow.load();
    ASSERT_NE(floating, nullptr);
    EXPECT_EQ(GetClassName(floating), L"FloatToolWindow");

    // Paths and folders come from the installation folder and the private home.
    EXPECT_EQ(ProcessClientPaths().instancePath, install_.string() + "/");
    EXPECT_TRUE(std::filesystem::is_directory(env_.dataHome() + "/Trovik/Config"));

    // The updater hand-off ran after the settings: the client's place is recorded for
    // the updater, which was started once.
    EXPECT_EQ(
        platform::ReadProfileString(L"Local", L"AppPath", L"", ProcessClientPaths().configFile),
        platform::Utf8ToWide(install_.string()));
    EXPECT_TRUE(testsupport::WaitFor([&] { return UpdaterStarts() == 1; }));

    // Every control of the window's table is found in the skin.
    EXPECT_NE(wnd_->controls().searchBox, nullptr);
    EXPECT_NE(wnd_->controls().historyHost, nullptr);
    EXPECT_NE(wnd_->controls().bannerFront, nullptr);
    EXPECT_NE(wnd_->controls().bannerBack, nullptr);
    EXPECT_NE(wnd_->controls().resultView, nullptr);
    EXPECT_NE(wnd_->controls().searchingView, nullptr);
    EXPECT_NE(wnd_->controls().noResultView, nullptr);
    EXPECT_NE(wnd_->controls().startView, nullptr);
    EXPECT_NE(wnd_->controls().resultTabs, nullptr);
    EXPECT_NE(wnd_->controls().selectColumn, nullptr);

    // The start-up report (type 2) reaches the statistics server named in AutoCfg.cfg.
    ASSERT_TRUE(testsupport::WaitFor([&] { return !ReportTypes().empty(); }));
    EXPECT_EQ(ReportTypes().front(), "2");

    // The banner timer (first after 50 ms) starts the first slide.
    EXPECT_TRUE(driver_.PumpUntil([&] { return wnd_->model().banner.slide.offset >= 6; }));
}

TEST_F(StartTest, StartsOnTheStartViewWithTheHint) {
    const HWND wnd = CreateMainWindow();
    EXPECT_TRUE(wnd_->controls().startView->IsVisible());
    EXPECT_FALSE(wnd_->controls().searchingView->IsVisible());
    EXPECT_FALSE(wnd_->controls().resultView->IsVisible());
    EXPECT_FALSE(wnd_->controls().selectColumn->IsVisible());
    EXPECT_FALSE(wnd_->controls().noResultView->IsVisible());
    EXPECT_EQ(wnd_->controls().searchBox->GetText(), kSearchHint);
    EXPECT_TRUE(Visible());
    (void)wnd;
}

TEST_F(StartTest, EachViewShowsAloneAndTheOpeningKeepsTheSkinsNoResultSetting) {
    CreateMainWindow();
    const MainControls& c = wnd_->controls();
    const auto shown = [&] {
        return std::vector<bool>{c.startView->IsVisible(), c.searchingView->IsVisible(),
                                 c.noResultView->IsVisible(), c.resultView->IsVisible(),
                                 c.selectColumn->IsVisible()};
    };
    using V = std::vector<bool>;
    ShowView(c, MainView::Results);
    EXPECT_EQ(shown(), (V{false, false, false, true, true}));
    ShowView(c, MainView::Searching);
    EXPECT_EQ(shown(), (V{false, true, false, false, false}));
    ShowView(c, MainView::NoResult);
    EXPECT_EQ(shown(), (V{false, false, true, false, false}));
    ShowView(c, MainView::Start);
    EXPECT_EQ(shown(), (V{true, false, false, false, false}));
    for (const bool noResult : {true, false}) {
        ShowView(c, MainView::Results);
        c.noResultView->SetVisible(noResult);
        ShowView(c, MainView::Opening);
        EXPECT_EQ(shown(), (V{true, false, noResult, false, false}));
    }
}

TEST_F(StartTest, FocusClearsTheHintAndAnEmptyBoxGetsItBack) {
    const HWND wnd = CreateMainWindow();
    ASSERT_TRUE(driver_.Click(wnd, L"edtSearchText"));
    driver_.Pump();
    EXPECT_EQ(wnd_->controls().searchBox->GetText(), L"");

    ASSERT_TRUE(driver_.Click(wnd, L"lblSearchTip"));  // focus leaves the box
    driver_.Pump();
    EXPECT_EQ(wnd_->controls().searchBox->GetText(), L"请输入片名");

    // Typed text stays when the focus leaves.
    ASSERT_TRUE(driver_.TypeText(wnd, L"edtSearchText", L"山海长歌"));
    ASSERT_TRUE(driver_.Click(wnd, L"lblSearchTip"));
    driver_.Pump();
    EXPECT_EQ(wnd_->controls().searchBox->GetText(), L"山海长歌");
}

TEST_F(StartTest, FocusOnTheSearchBoxLeavesTheNoResultView) {
    const HWND wnd = CreateMainWindow();
    wnd_->controls().startView->SetVisible(false);
    wnd_->controls().noResultView->SetVisible(true);
    wnd_->controls().selectColumn->SetVisible(true);
    ASSERT_TRUE(driver_.Click(wnd, L"edtSearchText"));
    driver_.Pump();
    EXPECT_TRUE(wnd_->controls().startView->IsVisible());
    EXPECT_FALSE(wnd_->controls().noResultView->IsVisible());
    EXPECT_FALSE(wnd_->controls().searchingView->IsVisible());
    EXPECT_FALSE(wnd_->controls().resultView->IsVisible());
    EXPECT_FALSE(wnd_->controls().selectColumn->IsVisible());
    EXPECT_EQ(wnd_->controls().searchBox->GetText(), L"");

    // Focus on the box while the result pages show keeps them.
    wnd_->controls().startView->SetVisible(false);
    wnd_->controls().resultView->SetVisible(true);
    driver_.Manager(wnd)->SetFocus(nullptr);  // the focus leaves the box
    ASSERT_TRUE(driver_.Click(wnd, L"edtSearchText"));
    driver_.Pump();
    EXPECT_TRUE(wnd_->controls().resultView->IsVisible());
    EXPECT_FALSE(wnd_->controls().startView->IsVisible());
}

TEST_F(StartTest, LeavingTheNoResultPanelRebuildsTheSearchChips) {
    WriteAutoCfg("[Portal]\r\nTvHost=tv.example\r\n");
    const HWND wnd = CreateMainWindow();
    driver_.Find(wnd, L"btnHistory0")->SetText(L"changed");
    wnd_->controls().startView->SetVisible(false);
    wnd_->controls().noResultView->SetVisible(true);
    driver_.Pump();
    // The panel's children take the pointer, so its focus comes and goes through the
    // window's focus handling directly.
    CPaintManagerUI* manager = driver_.Manager(wnd);
    manager->SetFocus(driver_.Find(wnd, L"ctNoFindResult"));
    ASSERT_EQ(manager->GetFocus(), driver_.Find(wnd, L"ctNoFindResult"));
    manager->SetFocus(nullptr);
    driver_.Pump();
    ASSERT_EQ(wnd_->controls().historyHost->GetCount(), 1);
    // A fresh "TvHistory" tree: the skin's own chip texts again.
    CControlUI* chip =
        driver_.Manager(wnd)->FindSubControlByName(wnd_->controls().historyHost, L"btnHistory0");
    ASSERT_NE(chip, nullptr);
    EXPECT_EQ(chip->GetText(), L"风中奇缘");
    // ... whose links come back with them.
    EXPECT_EQ(chip->GetUserData(), L"http://tv.example/detail/27553.html#jdt");
}

TEST_F(StartTest, SubLayoutsAreBuiltByTheirExactNames) {
    CreateMainWindow();
    for (const wchar_t* name :
         {L"OneTvInfo", L"OneTvSource", L"TvHistory", L"Troviking", L"NoSearchResult"}) {
        std::unique_ptr<CControlUI> tree(wnd_->CreateSubLayout(name));
        EXPECT_NE(tree, nullptr) << WideToUtf8(name);
    }
    for (const wchar_t* name : {L"onetvinfo", L"OneTvInfo.xml", L"Main", L"", L"MsgDlg"}) {
        std::unique_ptr<CControlUI> tree(wnd_->CreateSubLayout(name));
        EXPECT_EQ(tree, nullptr) << WideToUtf8(name);
    }
    EXPECT_EQ(wnd_->CreateSubLayout(nullptr), nullptr);
}

TEST_F(StartTest, SavedBackgroundIsAppliedOnlyWhenItsFileExists) {
    const std::string picture = env_.tmpDir() + "/Theme05.png";
    std::filesystem::copy_file(std::string(TROVIK_SOURCE_DIR) + "/skin/client/Background.png",
                               picture);
    ProcessClientSettings().BackGround = Utf8ToWide(picture);
    std::filesystem::create_directories(env_.dataHome() + "/Trovik/Config");
    std::ofstream(env_.dataHome() + "/Trovik/Config/Config.cfg")
        << "[Theme]\r\nBackGround=" << picture << "\r\n";
    const HWND wnd = CreateMainWindow();
    EXPECT_EQ(std::wstring(driver_.Find(wnd, L"background")->GetBkImage()), Utf8ToWide(picture));

    // An empty path keeps it; a new one replaces it.
    wnd_->SetBackground(L"");
    EXPECT_EQ(std::wstring(driver_.Find(wnd, L"background")->GetBkImage()), Utf8ToWide(picture));
    wnd_->SetBackground(L"Background.png");
    EXPECT_EQ(std::wstring(driver_.Find(wnd, L"background")->GetBkImage()), L"Background.png");
}

TEST_F(StartTest, MissingBackgroundFileKeepsTheSkinPicture) {
    std::filesystem::create_directories(env_.dataHome() + "/Trovik/Config");
    std::ofstream(env_.dataHome() + "/Trovik/Config/Config.cfg")
        << "[Theme]\r\nBackGround=" << env_.tmpDir() << "/gone.png\r\n";
    const HWND wnd = CreateMainWindow();
    EXPECT_EQ(std::wstring(driver_.Find(wnd, L"background")->GetBkImage()), L"Background.png");
}

}  // namespace
