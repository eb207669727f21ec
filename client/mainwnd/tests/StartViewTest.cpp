// The start view's lists, buttons and banner on the real main window: the defaults of
// a first start replaced by the sample update server's lists, entries taken from a
// cached list, the sample shows' links, and the banner's slide.

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>

#include "client/core/ClientPaths.h"
#include "client/mainwnd/ListImages.h"
#include "platform/CodePage.h"
#include "tools/testsupport/MainWindowFixture.h"
#include "tools/testsupport/TempDir.h"

using namespace UiLib;
using namespace mainwndtest;

namespace {

namespace fs = std::filesystem;

// The sample update server's tree of tools/devserver.
const fs::path kUpdateTree = fs::path(TROVIK_SOURCE_DIR) / "tools/devserver/site/update";

class StartViewTest : public MainWindowTest {
protected:
    // Serves the sample tree below /update/; the popular-show list waits for Release.
    void StartUpdateServer() {
        update_.server().Get(
            R"(/update/(.*))", [this](const httplib::Request& req, httplib::Response& res) {
                const std::string path = req.matches[1].str();
                if (path == "Trovik/Hot/Hot.cfg" && req.method == "GET") {
                    std::unique_lock<std::mutex> lock(gateMutex_);
                    gate_.wait_for(lock, std::chrono::seconds(20), [this] { return released_; });
                }
                const fs::path file = kUpdateTree / path;
                if (!fs::is_regular_file(file)) {
                    res.status = 404;
                    return;
                }
                res.set_content(testsupport::ReadFile(file), "application/octet-stream");
            });
        update_.Start();
        WriteAutoCfg("[UpdateServer]\r\nHost=" + update_.url("/update") +
                     "\r\nAppName=Trovik\r\nChannel=stable\r\n");
    }
    void Release() {
        std::lock_guard<std::mutex> lock(gateMutex_);
        released_ = true;
        gate_.notify_all();
    }
    void TearDown() override {
        Release();
        MainWindowTest::TearDown();
    }

    std::wstring Text(const wchar_t* name) { return driver_.Find(hwnd(), name)->GetText().str(); }
    std::wstring Tip(const wchar_t* name) { return driver_.Find(hwnd(), name)->GetToolTip().str(); }
    std::wstring Link(const wchar_t* name) {
        return driver_.Find(hwnd(), name)->GetUserData().str();
    }
    std::wstring Logo(const wchar_t* name) {
        return static_cast<CButtonUI*>(driver_.Find(hwnd(), name))->GetNormalImage();
    }

    testsupport::LoopbackServer update_;
    std::mutex gateMutex_;
    std::condition_variable gate_;
    bool released_ = false;
};

TEST_F(StartViewTest, FirstStartShowsTheDefaultsUntilTheServersListsTakeOver) {
    StartUpdateServer();
    const HWND wnd = CreateMainWindow();
    // The installation's lists while the download waits.
    EXPECT_EQ(Text(L"btnHot0"), L"长河落日");
    EXPECT_EQ(Text(L"btnHot1"), L"月光下的约...");
    EXPECT_EQ(Tip(L"btnHot1"), L"月光下的约定");
    EXPECT_EQ(Link(L"btnHot4"), L"http://127.0.0.1:18632/detail/2001.html");
    EXPECT_EQ(driver_.Find(wnd, L"btnHot4")->GetTag(), 4u);
    EXPECT_EQ(Logo(L"btnLinkSite6"), L"SiteDefault7.png");
    EXPECT_EQ(Tip(L"btnLinkSite0"), L"青柠视频 - 热门剧集每日更新");
    EXPECT_EQ(wnd_->model().lists.hot[0].image, L"HotDefault1.png");

    // The server's lists replace both (message 2031 with both flags).
    Release();
    ASSERT_TRUE(driver_.PumpUntil([&] {
        return Text(L"btnHot0") == L"城南旧事录" &&
               Tip(L"btnLinkSite0") == L"云帆影视 - 海量剧集高清在线";
    }));
    EXPECT_EQ(Text(L"btnHot1"), L"云端上的月...");  // six characters: five and "..."
    EXPECT_EQ(Tip(L"btnHot1"), L"云端上的月亮");
    const std::string data = env_.dataHome() + "/Trovik/";
    EXPECT_EQ(wnd_->model().lists.hot[0].image, Utf8ToWide(data + "Hot/Hot01.jpg"));
    EXPECT_EQ(Logo(L"btnLinkSite6"), Utf8ToWide(data + "LinkSite/Site07.png"));
    EXPECT_EQ(testsupport::ReadFile(data + "Hot/Hot.cfg"),
              testsupport::ReadFile(kUpdateTree / "Trovik/Hot/Hot.cfg"));
    EXPECT_TRUE(fs::is_regular_file(data + "LinkSite/Site01.png"));

    ASSERT_TRUE(driver_.Click(wnd, L"btnHot0"));
    ASSERT_TRUE(driver_.Click(wnd, L"btnLinkSite1"));
    driver_.Pump();
    EXPECT_EQ(OpenedUrls(), (std::vector<std::string>{"http://127.0.0.1:18632/detail/2002.html",
                                                      "http://127.0.0.1:18632/site/9/"}));
}

TEST_F(StartViewTest, CachedListEntriesNeedANameALinkAndAUsablePicture) {
    const std::string hot = env_.dataHome() + "/Trovik/Hot/";
    // List files hold GB18030 text.
    testsupport::WriteFile(hot + "Hot.cfg",
                           platform::Utf8ToGb18030(
                               "[HotLst]\r\n"
                               "ImgName0=a.jpg\r\nHotName0=一二三四五六七\r\nHotUrl0=http://h/0\r\n"
                               "ImgName1=b.jpg\r\nHotName1=短名\r\nHotUrl1=http://h/1\r\n"
                               "ImgName2=..\r\nHotName2=坏图\r\nHotUrl2=http://h/2\r\n"
                               "ImgName3=d.jpg\r\nHotName3=无链接\r\nHotUrl3=\r\n"
                               "ImgName4=e.jpg\r\nHotName4=\r\nHotUrl4=http://h/4\r\n"));
    for (const char* image : {"a.jpg", "b.jpg", "d.jpg", "e.jpg"})
        testsupport::WriteFile(hot + image, "x");
    WriteAutoCfg("[Portal]\r\nTvHost=tv.example:81\r\nVideoHost=video.example\r\n");
    const HWND wnd = CreateMainWindow();

    // Entry 2's picture name is refused: the default list's entry 2 stands in; 3 and 4
    // lack a link or a name and are left out, so their buttons keep the skin's.
    ASSERT_EQ(wnd_->model().lists.hot.size(), 3u);
    EXPECT_EQ(wnd_->model().lists.hot[0].image, Utf8ToWide(hot + "a.jpg"));
    EXPECT_EQ(wnd_->model().lists.hot[2].image, L"HotDefault3.png");
    EXPECT_EQ(Text(L"btnHot0"), L"一二三四五...");
    EXPECT_EQ(Tip(L"btnHot0"), L"一二三四五六七");
    EXPECT_EQ(Text(L"btnHot1"), L"短名");
    EXPECT_EQ(Text(L"btnHot2"), L"迷城追凶");
    EXPECT_EQ(Link(L"btnHot2"), L"http://127.0.0.1:18632/detail/1003.html");
    EXPECT_EQ(driver_.Find(wnd, L"btnHot2")->GetTag(), 2u);
    EXPECT_EQ(Text(L"btnHot3"), L"沉睡魔咒");
    EXPECT_EQ(Link(L"btnHot3"), L"");
    EXPECT_EQ(Text(L"btnHot4"), L"山海长歌");

    // The sample shows link to the portal hosts of "AutoCfg.cfg"; without a search
    // host their search links stay empty.
    EXPECT_EQ(Link(L"btnHistory0"), L"http://tv.example:81/detail/27553.html#jdt");
    EXPECT_EQ(Link(L"btnHistory1"), L"http://video.example/zongyi/zy_96/");
    EXPECT_EQ(Tip(L"btnHistory1"), L" 中国好声音");
    EXPECT_EQ(Link(L"btnHistory2"), L"");
    EXPECT_EQ(Link(L"btnHistory5"), L"http://tv.example:81/detail/28029.html");
    ASSERT_TRUE(driver_.Click(wnd, L"btnHistory4"));
    driver_.Pump();
    EXPECT_EQ(OpenedUrls(), std::vector<std::string>{"http://tv.example:81/detail/39244.html"});
}

TEST_F(StartViewTest, TheBannerStartsWithTheFirstPopularShow) {
    bannerSlideMs_ = 60000;  // the first slide's first tick, and no second one
    CreateMainWindow();
    const std::vector<HotEntry>& hot = wnd_->model().lists.hot;
    ASSERT_FALSE(hot.empty());
    ASSERT_TRUE(driver_.PumpUntil([&] { return wnd_->model().banner.slide.step == 1; }));
    EXPECT_EQ(wnd_->model().banner.bannerIndex, 0);
    EXPECT_EQ(std::wstring(wnd_->controls().bannerFront->GetBkImage()),
              ImageFileAttribute(hot[0].image) + L" source='0,0,410,240'");
}

TEST_F(StartViewTest, BannerSlidesFasterAndFasterThenRests) {
    const HWND wnd = CreateMainWindow();
    KillTimer(wnd, TIMER_BANNER);  // only the ticks sent here count
    wnd_->model().banner.bannerSlideMs = 15;
    wnd_->model().banner.bannerRestMs = 3000;
    wnd_->model().lists.hot = {{L"A", L"http://a/", L"/pics/a.png"},
                               {L"B", L"http://b/", L"/pics/b.png"}};
    wnd_->model().banner.slide = BannerSlide{};
    wnd_->model().banner.bannerIndex = 0;
    const auto tick = [&] { SendMessageW(wnd, WM_TIMER, TIMER_BANNER, 0); };
    const auto left = [](CControlUI* panel) { return panel->GetFixedXY().cx; };

    // Offsets 0, 2, 6, 12, 20 … n·(n + 1) while below the width of 410.
    for (int n = 0; n * (n + 1) < 410; ++n) {
        tick();
        const int offset = n * (n + 1);
        EXPECT_EQ(std::wstring(wnd_->controls().bannerFront->GetBkImage()),
                  L"file='/pics/a.png' source='" + std::to_wstring(offset) + L",0,410,240'");
        EXPECT_EQ(wnd_->controls().bannerFront->GetFixedWidth(), 410 - offset);
        EXPECT_EQ(std::wstring(wnd_->controls().bannerBack->GetBkImage()),
                  L"file='/pics/b.png' source='0,0," + std::to_wstring(offset) + L",240'");
        EXPECT_EQ(left(wnd_->controls().bannerBack), 410 - offset);
        EXPECT_EQ(wnd_->controls().bannerBack->GetFixedWidth(), offset);
        EXPECT_EQ(driver_.TimerInterval(wnd, TIMER_BANNER), 15);
    }
    // The slide is over: B rests in front, the back panel has no width.
    tick();
    EXPECT_EQ(wnd_->model().banner.bannerIndex, 1);
    EXPECT_EQ(std::wstring(wnd_->controls().bannerFront->GetBkImage()), L"file='/pics/b.png'");
    EXPECT_EQ(wnd_->controls().bannerFront->GetFixedWidth(), 410);
    EXPECT_EQ(left(wnd_->controls().bannerBack), 410);
    EXPECT_EQ(wnd_->controls().bannerBack->GetFixedWidth(), 0);
    EXPECT_EQ(driver_.TimerInterval(wnd, TIMER_BANNER), 3000);
    // The next slide starts at 2 and brings the first picture back.
    tick();
    EXPECT_EQ(std::wstring(wnd_->controls().bannerBack->GetBkImage()),
              L"file='/pics/a.png' source='0,0,2,240'");

    // One show slides into itself.
    wnd_->model().lists.hot.resize(1);
    wnd_->model().banner.slide = BannerSlide{};
    wnd_->model().banner.bannerIndex = 0;
    for (int n = 0; n * (n + 1) < 410; ++n) tick();
    EXPECT_EQ(std::wstring(wnd_->controls().bannerBack->GetBkImage()),
              L"file='/pics/a.png' source='0,0,380,240'");
    tick();
    EXPECT_EQ(wnd_->model().banner.bannerIndex, 0);
    EXPECT_EQ(std::wstring(wnd_->controls().bannerFront->GetBkImage()), L"file='/pics/a.png'");

    // Without shows nothing moves, and the timer keeps the resting pace.
    wnd_->model().lists.hot.clear();
    const BannerSlide before = wnd_->model().banner.slide;
    SetTimer(wnd, TIMER_BANNER, 50);
    tick();
    EXPECT_EQ(wnd_->model().banner.slide.offset, before.offset);
    EXPECT_EQ(driver_.TimerInterval(wnd, TIMER_BANNER), 3000);
}

}  // namespace
