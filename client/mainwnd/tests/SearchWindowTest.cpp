// The search flow through the real main window: the sample portal on a loopback
// devserver with the real engine library, and a scripted engine for the cases the
// portal cannot produce.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "client/mainwnd/EngineBinding.h"
#include "client/mainwnd/SearchChannel.h"
#include "common/TextCodec.h"
#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/SearchTestWindow.h"
#include "tools/testsupport/SilentListener.h"
#include "tools/testsupport/WaitFor.h"

using namespace UiLib;
using searchtest::SearchTestWindow;
using testsupport::DevServerProcess;

namespace {

std::wstring Text(SearchTestWindow& w, int page, const wchar_t* name) {
    CControlUI* c = w.InPage(page, name);
    return c ? std::wstring(c->GetText().GetData()) : L"<missing>";
}

int CountLines(const std::string& path, const std::string& needle) {
    std::ifstream in(path, std::ios::binary);
    int n = 0;
    for (std::string line; std::getline(in, line);) n += line.find(needle) != std::string::npos;
    return n;
}

// Waits until the searching view is gone and no worker runs.
bool Finished(SearchTestWindow& w) {
    return w.driver().PumpUntil(
        [&] { return !w.Visible(L"vlSearching") && !w.wnd().model().search->SearchBusy(); },
        std::chrono::seconds(30));
}

class PortalSearchTest : public ::testing::Test {
protected:
    explicit PortalSearchTest(std::vector<std::string> extra = {})
        : log(dir / "requests.log"),
          portal([&] {
              extra.insert(extra.end(), {"--log", log});
              return extra;
          }()),
          host("VANTREL_SEARCH_HOST", portal.hostPort()),
          w(portal.hostPort(), searchtest::EngineLibrary()) {}

    testsupport::TempDir dir;
    std::string log;
    DevServerProcess portal;
    testsupport::ScopedEnv host;
    SearchTestWindow w;
};

TEST_F(PortalSearchTest, ShowsOnePagePerShowWithItsTextsSourcesAndPoster) {
    w.Search(L"城");
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlSearchResult"));
    EXPECT_TRUE(w.Visible(L"vlSelectResult"));
    EXPECT_FALSE(w.Visible(L"vlNoFindResult"));
    EXPECT_FALSE(w.Visible(L"vlTvHistory"));

    // Three shows, all with sources: three pages, three select buttons, page 0 shown.
    ASSERT_EQ(w.PageCount(), 3);
    ASSERT_EQ(w.wnd().model().resultItems.size(), 3u);
    EXPECT_EQ(w.wnd().controls().resultTabs->GetCurSel(), 0);
    const auto selects = w.SelectButtons();
    ASSERT_EQ(selects.size(), 3u);
    EXPECT_EQ(selects[1]->GetName(), L"btnSelectTv1");
    EXPECT_TRUE(static_cast<COptionUI*>(selects[0]->GetInterface(L"Option"))->IsSelected());

    EXPECT_EQ(Text(w, 0, L"TvName"), L"迷城追凶");
    EXPECT_EQ(Text(w, 0, L"TvPingFen"), L"{f 4}8{/f}{f 3}.2分{/f}");
    EXPECT_EQ(Text(w, 0, L"txtJiShu"), L"片长 : HD");
    EXPECT_EQ(Text(w, 0, L"txtDaoYan"), L"导演 : 梁启航 何志明 ");
    EXPECT_EQ(Text(w, 0, L"lblNianFen"), L"2018");
    EXPECT_EQ(Text(w, 1, L"txtJiShu"), L"集数 : 全24集");
    CControlUI* details = w.InPage(0, L"btnDetails");
    ASSERT_NE(details, nullptr);
    EXPECT_TRUE(std::wstring(details->GetUserData().GetData()).ends_with(L"/detail/1003.html"));

    // Film: one episode button per source, no arrows. Six sites: five buttons.
    EXPECT_EQ(w.SourceButtons(0).size(), 4u);
    EXPECT_EQ(w.EpisodeNumbers(0), std::vector<int>{1});
    EXPECT_EQ(w.SourceButtons(1).size(), 5u);
    EXPECT_EQ(w.EpisodeNumbers(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(w.SourceButtons(2).size(), 1u);

    // The poster came into the temporary folder and is the picture's background.
    CControlUI* pic = w.InPage(0, L"ctTvPic");
    ASSERT_NE(pic, nullptr);
    const std::wstring image = pic->GetBkImage();
    EXPECT_NE(image.find(L"file='"), std::wstring::npos) << image;
    bool posterCached = false;
    for (const auto& e : std::filesystem::directory_iterator(w.env().tmpDir())) {
        posterCached |=
            image.find(AnsiToWide(e.path().filename().string())) != std::wstring::npos &&
            std::filesystem::file_size(e.path()) > 0;
    }
    EXPECT_TRUE(posterCached) << image;

    // One search page request and one usage report of type 1.
    EXPECT_EQ(CountLines(log, "GET /search_%B3%C7"), 1);
    EXPECT_TRUE(testsupport::WaitFor([&] { return CountLines(log, "type=1") == 1; }));
}

TEST_F(PortalSearchTest, ShowsWithoutSourcesGetNoPageButCountForTheSelectColumn) {
    // Ten shows; the variety show has no sources for the engine.
    w.Search(L"全部");
    ASSERT_TRUE(Finished(w));
    EXPECT_EQ(w.PageCount(), 9);
    EXPECT_EQ(w.wnd().model().resultItems.size(), 9u);
    EXPECT_EQ(w.SelectButtons().size(), 10u);
    for (const ResultItem& item : w.wnd().model().resultItems) {
        EXPECT_FALSE(item.sources.empty());
        EXPECT_NE(AnsiToWide(item.result.name), L"歌声与远方");
    }
}

TEST_F(PortalSearchTest, NothingToPlayOrNothingFoundShowsTheNoResultViewAndKeepsThePages) {
    w.Search(L"山");
    ASSERT_TRUE(Finished(w));
    ASSERT_EQ(w.PageCount(), 1);

    // The only show found is one the engine finds no sources for.
    w.Search(L"歌声与远方");
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));
    EXPECT_FALSE(w.Visible(L"vlSearchResult"));
    EXPECT_FALSE(w.Visible(L"vlSelectResult"));
    EXPECT_EQ(w.PageCount(), 1);
    EXPECT_EQ(w.wnd().model().resultItems.size(), 1u);

    // A name the portal does not know.
    w.Search(L"无此片名");
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));
    EXPECT_EQ(w.PageCount(), 1);
}

class SlowPortalSearchTest : public PortalSearchTest {
protected:
    SlowPortalSearchTest() : PortalSearchTest({"--latency-ms", "300"}) {}
};

TEST_F(SlowPortalSearchTest, TwoQuickClicksRunOneSearch) {
    w.Search(L"山");
    w.driver().Click(w.hwnd(), L"btnSearch");
    EXPECT_TRUE(w.Visible(L"vlSearching"));
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlSearchResult"));
    EXPECT_EQ(w.PageCount(), 1);
    EXPECT_EQ(CountLines(log, "GET /search_"), 1);
    EXPECT_TRUE(testsupport::WaitFor([&] { return CountLines(log, "type=1") >= 1; }));
    EXPECT_EQ(CountLines(log, "type=1"), 1);
}

// ---- The scripted engine ----

int (*FakeSearches())() {
    static void* module = dlopen(searchtest::FakeEngineLibrary().c_str(), RTLD_NOW);
    return module ? reinterpret_cast<int (*)()>(dlsym(module, "FakeEngineSearches")) : nullptr;
}

// An extra export of the scripted engine, or null.
void* FakeExport(const char* name) {
    static void* module = dlopen(searchtest::FakeEngineLibrary().c_str(), RTLD_NOW);
    return module ? dlsym(module, name) : nullptr;
}

std::string FakeReturned() {
    auto fn = reinterpret_cast<const char* (*)()>(FakeExport("FakeEngineReturned"));
    return fn ? fn() : "<no fake engine>";
}

void FakeRelease() {
    if (auto fn = reinterpret_cast<void (*)()>(FakeExport("FakeEngineRelease"))) fn();
}

std::string FakeLastKeyword() {
    void* module = dlopen(searchtest::FakeEngineLibrary().c_str(), RTLD_NOW);
    auto fn = module ? reinterpret_cast<const char* (*)()>(dlsym(module, "FakeEngineLastKeyword"))
                     : nullptr;
    return fn ? fn() : "<no fake engine>";
}

TEST(ScriptedSearchTest, FirstShowWithoutSourcesLeavesTheNextAsFirstPageOfANewSet) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    w.Search(L"many");
    ASSERT_TRUE(Finished(w));
    ASSERT_EQ(w.PageCount(), 3);

    w.Search(L"drop");
    ASSERT_TRUE(Finished(w));
    ASSERT_EQ(w.PageCount(), 2);  // the old set was replaced by the first item sent
    EXPECT_EQ(Text(w, 0, L"TvName"), L"show a");
    EXPECT_EQ(Text(w, 1, L"TvName"), L"show b");
    EXPECT_EQ(w.SelectButtons().size(), 3u);  // the engine's count
    EXPECT_EQ(w.wnd().controls().resultTabs->GetCurSel(), 0);
}

TEST(ScriptedSearchTest, AllShowsWithoutSourcesShowTheNoResultView) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    w.Search(L"many");
    ASSERT_TRUE(Finished(w));
    w.Search(L"none");
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));
    EXPECT_EQ(w.PageCount(), 3);  // the earlier results stay behind the view
}

TEST(ScriptedSearchTest, TheEngineGetsThePercentEncodedKeyword) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    w.Search(L"a b/月");
    ASSERT_TRUE(Finished(w));
    EXPECT_EQ(FakeLastKeyword(), "a+b%2F%D4%C2");
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));  // the script lists nothing for it
}

TEST(ScriptedSearchTest, UnbindableEngineEndsInTheNoResultView) {
    for (const std::string& library :
         {std::string("/nonexistent/libvantrel.so"), searchtest::NoExportLibrary()}) {
        SearchTestWindow w("", library);
        w.Search(L"many");
        ASSERT_TRUE(Finished(w)) << library;
        EXPECT_TRUE(w.Visible(L"vlNoFindResult")) << library;
        EXPECT_EQ(w.PageCount(), 0) << library;
    }
    // An engine that hands out no object is never asked to search.
    ASSERT_NE(FakeSearches(), nullptr);
    const int before = FakeSearches()();
    testsupport::ScopedEnv null("FAKE_ENGINE_NULL", "1");
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    w.Search(L"many");
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));
    EXPECT_EQ(FakeSearches()(), before);
}

TEST(ScriptedSearchTest, EmptyTextSendsNothingButTheNoResultMessage) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    ASSERT_NE(FakeSearches(), nullptr);
    const int before = FakeSearches()();
    // On the user-interface thread the worker's message is handled at once.
    EXPECT_EQ(SearchWorker(w.wnd().model().search, L""), 0);
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));
    EXPECT_FALSE(w.wnd().model().search->SearchBusy());
    EXPECT_EQ(FakeSearches()(), before);
}

}  // namespace

namespace {

TEST(ScriptedSearchTest, TheSearchBoxHintIsNotSearchedFor) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    ASSERT_NE(FakeSearches(), nullptr);
    const int before = FakeSearches()();
    w.wnd().controls().searchBox->SetText(kSearchHint);
    w.driver().Click(w.hwnd(), L"btnSearch");
    ASSERT_TRUE(Finished(w));
    EXPECT_TRUE(w.Visible(L"vlNoFindResult"));
    EXPECT_EQ(FakeSearches()(), before);
}

}  // namespace

namespace {

using Clock = std::chrono::steady_clock;

TEST(ConcurrentSearchTest, ItemsComeInTheEnginesOrderWhenALaterDetailPageAnswersFirst) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    w.Search(L"order");
    ASSERT_TRUE(Finished(w));
    // The first result's call returned last ...
    EXPECT_TRUE(FakeReturned().ends_with("waits ")) << FakeReturned();
    // ... and still became page 0: one message per item, in the engine's order.
    ASSERT_EQ(w.PageCount(), 3);
    EXPECT_EQ(Text(w, 0, L"TvName"), L"show waits");
    EXPECT_EQ(Text(w, 1, L"TvName"), L"show b");
    EXPECT_EQ(Text(w, 2, L"TvName"), L"show c");
    EXPECT_EQ(w.SelectButtons().size(), 3u);  // the count came with the first item
    EXPECT_EQ(w.wnd().controls().resultTabs->GetCurSel(), 0);
}

TEST(ConcurrentSearchTest, ADetailPageThatNeverArrivesEndsTheSearchAtItsDeadline) {
    SearchLimits limits;
    limits.whole = std::chrono::milliseconds(1500);
    searchtest::ScopedSearchLimits bound(limits);
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    // The hanging call returns when the test ends, however it ends.
    const struct Release {
        ~Release() { FakeRelease(); }
    } release;
    const auto start = Clock::now();
    w.Search(L"hang");
    ASSERT_TRUE(Finished(w));
    const auto took = Clock::now() - start;
    // The search ended at its deadline, with the show whose sources never came
    // dropped and the one after it shown.
    EXPECT_GE(took, limits.whole);
    EXPECT_EQ(FakeReturned().find("hangs"), std::string::npos) << FakeReturned();
    ASSERT_EQ(w.PageCount(), 2);
    EXPECT_EQ(Text(w, 0, L"TvName"), L"show a");
    EXPECT_EQ(Text(w, 1, L"TvName"), L"show c");
    EXPECT_EQ(w.SelectButtons().size(), 3u);
}

TEST(ConcurrentSearchTest, AWorkerThatOutlivesItsWindowEndsOnTheSharedChannelAlone) {
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    const struct Release {
        ~Release() { FakeRelease(); }
    } release;
    w.Search(L"hang");
    // The first show has come; the worker now waits for the second one's sources.
    ASSERT_TRUE(w.driver().PumpUntil([&] { return w.PageCount() == 1; }));
    const std::shared_ptr<SearchChannel> channel = w.wnd().model().search;
    ASSERT_EQ(channel->window(), w.hwnd());
    w.Close();
    // The window and its model are gone; the worker still holds the channel, which no
    // longer names a window.
    EXPECT_TRUE(channel->SearchBusy());
    EXPECT_EQ(channel->window(), nullptr);
    FakeRelease();
    // Its last two items go nowhere, and it lets the channel go.
    EXPECT_TRUE(testsupport::WaitFor([&] { return !channel->SearchBusy(); }));
    EXPECT_TRUE(FakeReturned().ends_with("hangs ")) << FakeReturned();
    EXPECT_TRUE(testsupport::WaitFor([&] { return channel.use_count() == 1; }));
}

TEST(ConcurrentSearchTest, APosterHostThatNeverAnswersLeavesTheWindowResponsive) {
    testsupport::SilentListener posterHost;  // accepts connections, never answers
    testsupport::ScopedEnv poster("FAKE_ENGINE_POSTER_URL",
                                  "http://" + posterHost.hostPort() + "/img/never.jpg");
    SearchLimits limits;
    limits.poster = std::chrono::milliseconds(2000);
    searchtest::ScopedSearchLimits bound(limits);
    SearchTestWindow w("", searchtest::FakeEngineLibrary());
    CControlUI* waiting = w.driver().Find(w.hwnd(), L"ctWaitingPic");
    ASSERT_NE(waiting, nullptr);

    const auto start = Clock::now();
    w.Search(L"many");
    // The waiting animation's timer keeps ticking while the posters hang.
    std::wstring frame = waiting->GetBkImage();
    int frameChanges = 0;
    ASSERT_TRUE(w.driver().PumpUntil(
        [&] {
            if (waiting->GetBkImage() != frame) {
                frame = waiting->GetBkImage();
                ++frameChanges;
            }
            return w.PageCount() >= 1;
        },
        std::chrono::seconds(20)));
    const auto firstPage = Clock::now() - start;
    EXPECT_GE(frameChanges, 2);
    // The page waited for its poster until the poster's deadline, then came with the
    // placeholder.
    EXPECT_GE(firstPage, limits.poster);
    ASSERT_TRUE(Finished(w));
    EXPECT_EQ(w.PageCount(), 3);
    CControlUI* pic = w.InPage(0, L"ctTvPic");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(std::wstring(pic->GetBkImage()), L"");
    EXPECT_TRUE(posterHost.contacted());
}

}  // namespace
