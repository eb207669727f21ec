// The client's whole search as the user sees it: from the click on "btnSearch" of the
// real main window (real skin, real libvantrel.so) to the first result page shown and
// to the last one, searching "全部" (ten shows, nine with play sources) on a devserver
// that delays every answer by 50 ms. Posters are in the temporary folder after the
// first search, as they are for a user searching again.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include "IsolatedEnv.h"
#include "client/mainwnd/EngineBinding.h"
#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFlow.h"
#include "client/mainwnd/Trovik.h"
#include "platform/CodePage.h"
#include "tools/devserver/testing/ChildProcess.h"
#include "uilib/testing/UiTestDriver.h"

using namespace UiLib;
using Clock = std::chrono::steady_clock;

namespace {

struct SearchSetup {
    testsupport::IsolatedEnv env;
    devserver::testing::DevServerProcess portal{{"--latency-ms", "50"}};
    testsupport::ScopedEnv host{"VANTREL_SEARCH_HOST", portal.hostPort()};
    testing::UiTestDriver driver;
    std::unique_ptr<CTrovik> wnd;

    SearchSetup() {
        const std::string instance = env.root() / "install/";
        std::filesystem::create_directories(instance + "Config");
        testsupport::WriteFile(instance + "Config/AutoCfg.cfg",
                               "[Stat]\r\nHost=" + portal.hostPort() + "\r\n");
        SetEngineLibraryOverride(devserver::testing::BinPath("libvantrel.so"));
        CPaintManagerUI::SetResourcePath(
            platform::Utf8ToWide(devserver::testing::BinPath("Skin")).c_str());
        CPaintManagerUI::SetResourceZip(L"SkinRes.zip", false);
        wnd = std::make_unique<CTrovik>();
        wnd->installationFolder = instance;
        wnd->Create(nullptr, kMainWindowTitle, 0x96C80000, 0x100);
        UiLib::ShowWindow(wnd->GetHWND(), SW_SHOW);
        driver.Pump();
    }
};

// Removes the cached posters from the temporary folder.
void DropPosters(const SearchSetup& s) {
    for (const auto& e : std::filesystem::directory_iterator(s.env.tmpDir())) {
        if (e.path().extension() == ".jpg") std::filesystem::remove(e.path());
    }
}

constexpr int kPages = 9;

struct SearchTimes {
    bool ok = false;
    double first = 0;  // seconds from the click to the first page
    double last = 0;   // seconds from the click to the last page
};

SearchTimes TimedSearch(SearchSetup& s) {
    // Start from an empty result area, so the first page is a new one.
    s.wnd->resultTabs->RemoveAll();
    ResultItems().clear();
    s.wnd->searchBox->SetText(L"全部");
    s.driver.Pump();
    SearchTimes t;
    const auto start = Clock::now();
    s.driver.Click(s.wnd->GetHWND(), L"btnSearch");
    if (!s.driver.PumpUntil([&] { return s.wnd->resultTabs->GetCount() >= 1; },
                            std::chrono::seconds(30))) {
        return t;
    }
    t.first = std::chrono::duration<double>(Clock::now() - start).count();
    t.ok =
        s.driver.PumpUntil([&] { return !SearchBusy() && s.wnd->resultTabs->GetCount() == kPages; },
                           std::chrono::seconds(30));
    t.last = std::chrono::duration<double>(Clock::now() - start).count();
    return t;
}

// range(0): 1 = posters already cached (a repeated search), 0 = every poster fetched.
void BM_ClientSearch(benchmark::State& state) {
    SearchSetup s;
    const bool cached = state.range(0) == 1;
    if (cached) TimedSearch(s);  // untimed: fills the poster cache
    double firstTotal = 0;
    for (auto _ : state) {
        if (!cached) DropPosters(s);
        const SearchTimes t = TimedSearch(s);
        if (!t.ok) {
            state.SkipWithError("the result pages did not all appear");
            break;
        }
        firstTotal += t.first;
        state.SetIterationTime(t.last);
    }
    // Last page: the benchmark's time. First page: the mean of the iterations, in ms.
    state.counters["first_page_ms"] =
        benchmark::Counter(firstTotal * 1000.0 / static_cast<double>(state.iterations()));
}
BENCHMARK(BM_ClientSearch)
    ->ArgName("posters_cached")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
