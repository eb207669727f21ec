// The client's whole search as the user sees it: from the click on "btnSearch" of the
// real main window (real skin, real libvantrel.so) to the first result page shown and
// to the last one, searching "全部" (ten shows, nine with play sources) on a devserver
// that delays every answer by 50 ms. Posters are in the temporary folder after the
// first search, as they are for a user searching again; the cold case removes them.
//
// Every search also records how long the user-interface thread went without turning
// its event loop (the longest gap between two turns, the 5 ms the driver waits between
// turns included). One more benchmark serves the same pages with their posters on a
// host that accepts connections and never answers.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <regex>

#include "client/mainwnd/EngineBinding.h"
#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFetch.h"
#include "client/mainwnd/SearchFlow.h"
#include "client/mainwnd/Trovik.h"
#include "platform/CodePage.h"
#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "tools/testsupport/SilentListener.h"
#include "uilib/testing/UiTestDriver.h"

using namespace UiLib;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

constexpr char kAllShows[] = "search_%C8%AB%B2%BF";  // "全部" in GBK, percent-encoded

struct SearchSetup {
    explicit SearchSetup(std::vector<std::string> portalArgs)
        : portal([&] {
              portalArgs.insert(portalArgs.end(), {"--latency-ms", "50"});
              return portalArgs;
          }()) {
        const std::string instance = env.root() / "install/";
        fs::create_directories(instance + "Config");
        testsupport::WriteFile(instance + "Config/AutoCfg.cfg",
                               "[Stat]\r\nHost=" + portal.hostPort() + "\r\n");
        SetEngineLibraryOverride(testsupport::BinPath("libvantrel.so"));
        CPaintManagerUI::SetResourcePath(
            platform::Utf8ToWide(testsupport::BinPath("Skin")).c_str());
        CPaintManagerUI::SetResourceZip(L"SkinRes.zip", false);
        wnd = std::make_unique<CTrovik>(instance);
        wnd->Create(nullptr, kMainWindowTitle, 0x96C80000, 0x100);
        UiLib::ShowWindow(wnd->GetHWND(), SW_SHOW);
        driver.Pump();
    }

    testsupport::IsolatedEnv env;
    testsupport::DevServerProcess portal;
    testsupport::ScopedEnv host{"VANTREL_SEARCH_HOST", portal.hostPort()};
    testing::UiTestDriver driver;
    std::unique_ptr<CTrovik> wnd;
};

// Removes the cached posters from the temporary folder.
void DropPosters(const SearchSetup& s) {
    for (const auto& e : fs::directory_iterator(s.env.tmpDir())) {
        if (e.path().extension() == ".jpg") fs::remove(e.path());
    }
}

constexpr int kPages = 9;

struct SearchTimes {
    bool ok = false;
    double first = 0;    // seconds from the click to the first page
    double last = 0;     // seconds from the click to the last page
    double blocked = 0;  // longest gap between two turns of the event loop, seconds
};

SearchTimes TimedSearch(SearchSetup& s) {
    // Start from an empty result area, so the first page is a new one.
    s.wnd->controls().resultTabs->RemoveAll();
    s.wnd->model().resultItems.clear();
    s.wnd->controls().searchBox->SetText(L"全部");
    s.driver.Pump();
    SearchTimes t;
    const auto start = Clock::now();
    auto turn = start;
    const auto pumpUntil = [&](const std::function<bool()>& done) {
        return s.driver.PumpUntil(
            [&] {
                const auto now = Clock::now();
                t.blocked = std::max(t.blocked, std::chrono::duration<double>(now - turn).count());
                turn = now;
                return done();
            },
            std::chrono::seconds(40));
    };
    s.driver.Click(s.wnd->GetHWND(), L"btnSearch");
    if (!pumpUntil([&] { return s.wnd->controls().resultTabs->GetCount() >= 1; })) return t;
    t.first = std::chrono::duration<double>(Clock::now() - start).count();
    t.ok = pumpUntil([&] {
        return !s.wnd->model().search->SearchBusy() &&
               s.wnd->controls().resultTabs->GetCount() == kPages;
    });
    t.last = std::chrono::duration<double>(Clock::now() - start).count();
    return t;
}

void Report(benchmark::State& state, double firstTotal, double blocked) {
    // Last page: the benchmark's time. First page: the mean of the iterations, in ms.
    state.counters["first_page_ms"] =
        benchmark::Counter(firstTotal * 1000.0 / static_cast<double>(state.iterations()));
    state.counters["ui_block_max_ms"] = benchmark::Counter(blocked * 1000.0);
}

// range(0): 1 = posters already cached (a repeated search), 0 = every poster fetched.
void BM_ClientSearch(benchmark::State& state) {
    SearchSetup s({});
    const bool cached = state.range(0) == 1;
    if (cached) TimedSearch(s);  // untimed: fills the poster cache
    double firstTotal = 0, blocked = 0;
    for (auto _ : state) {
        if (!cached) DropPosters(s);
        const SearchTimes t = TimedSearch(s);
        if (!t.ok) {
            state.SkipWithError("the result pages did not all appear");
            break;
        }
        firstTotal += t.first;
        blocked = std::max(blocked, t.blocked);
        state.SetIterationTime(t.last);
    }
    Report(state, firstTotal, blocked);
}
BENCHMARK(BM_ClientSearch)
    ->ArgName("posters_cached")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

// The sample portal's "全部" pages with every poster on `posterHost`.
class SilentPosterSite {
public:
    explicit SilentPosterSite(const testsupport::SilentListener& posterHost) {
        const fs::path site = fs::path(TROVIK_SOURCE_DIR) / "tools/devserver/site";
        fs::copy(site / "detail", dir_.path() / "detail", fs::copy_options::recursive);
        fs::create_directories(dir_.path() / kAllShows);
        const std::string page = testsupport::ReadFile(site / kAllShows / "index.html");
        testsupport::WriteFile(
            dir_.path() / kAllShows / "index.html",
            std::regex_replace(
                page, std::regex("http://127\\.0\\.0\\.1:18632/img/poster/"),
                "http://127.0.0.1:" + std::to_string(posterHost.port()) + "/img/poster/"));
    }
    std::string root() const { return dir_.path().string(); }

private:
    testsupport::TempDir dir_{"silent-posters"};
};

// The posters never come: each page appears once its poster's deadline has passed,
// shortened here to one second (the client allows ten) to keep the run short; what is
// measured is how long the window's thread is ever kept from its event loop.
void BM_ClientSearch_PosterHostNeverAnswers(benchmark::State& state) {
    testsupport::SilentListener posterHost;  // accepts connections, never answers
    SilentPosterSite site(posterHost);
    SearchLimits limits;
    limits.poster = std::chrono::seconds(1);
    SetSearchLimits(limits);
    SearchSetup s({"--root", site.root()});
    double firstTotal = 0, blocked = 0;
    for (auto _ : state) {
        DropPosters(s);
        const SearchTimes t = TimedSearch(s);
        if (!t.ok) {
            state.SkipWithError("the result pages did not all appear");
            break;
        }
        firstTotal += t.first;
        blocked = std::max(blocked, t.blocked);
        state.SetIterationTime(t.last);
    }
    Report(state, firstTotal, blocked);
    SetSearchLimits(SearchLimits());
}
BENCHMARK(BM_ClientSearch_PosterHostNeverAnswers)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
