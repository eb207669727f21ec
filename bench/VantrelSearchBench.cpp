// `vantrel search` as a user or script runs it:
//   - a whole search of 10 results (one search page and ten detail pages) against
//     devserver with 50 ms of latency per request, with the detail pages fetched six at
//     a time (the default) and one after another (--jobs 1);
//   - the two hostile label-run search pages (labels in a row; a huge value behind many
//     labels) against the same pages without the runs: time and peak memory.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "bench/SyntheticPages.h"
#include "tools/testsupport/ChildPrograms.h"
#include "tools/testsupport/TempDir.h"

namespace {

using testsupport::BinPath;
using testsupport::DevServerProcess;
using testsupport::ProgramResult;
using testsupport::RunProgram;

// range(0): the --jobs value.
void BM_VantrelSearch_10results_latency50ms(benchmark::State& state) {
    DevServerProcess server({"--latency-ms", "50"});
    const std::string jobs = std::to_string(state.range(0));
    for (auto _ : state) {
        // "全部" lists ten shows in the sample portal.
        const auto run = RunProgram(
            BinPath("vantrel"), {"search", "--jobs", jobs, "--portal", server.hostPort(), "全部"});
        if (run.exitCode != 0 || run.out.find("\"古剑奇谭\"") == std::string::npos)
            state.SkipWithError("vantrel search failed");
    }
}

// The label-run pages, served without latency from a folder of their own.
class LabelPages {
public:
    LabelPages() {
        Write("rows", bench::LabelRowsPage(kItems, kLabels, true));
        Write("rowsplain", bench::LabelRowsPage(kItems, kLabels, false));
        Write("value", bench::LabelValuePage(150, kValueBytes, true));
        Write("valueplain", bench::LabelValuePage(150, kValueBytes, false));
        server_ =
            std::make_unique<DevServerProcess>(std::vector<std::string>{"--root", dir_ / "."});
    }
    std::string hostPort() const { return server_->hostPort(); }

    // 400 items of 270 labels: 216,000 nodes, within the pre-scan's 400,000.
    static constexpr int kItems = 400;
    static constexpr int kLabels = 270;
    // Just under the 8 MiB a page may have.
    static constexpr size_t kValueBytes = (8u << 20) - (64u << 10);

private:
    void Write(const std::string& keyword, const std::string& page) {
        std::filesystem::create_directories(dir_.path() / ("search_" + keyword));
        testsupport::WriteFile(dir_.path() / ("search_" + keyword) / "index.html", page);
    }
    testsupport::TempDir dir_{"label-pages"};
    std::unique_ptr<DevServerProcess> server_;
};

LabelPages& Pages() {
    static LabelPages pages;
    return pages;
}

void LabelPage(benchmark::State& state, const char* keyword, size_t results) {
    const std::string host = Pages().hostPort();
    double peakMb = 0;
    for (auto _ : state) {
        const ProgramResult run =
            RunProgram(BinPath("vantrel"), {"search", "--portal", host, keyword});
        if (run.exitCode != 0 || run.out.find("\"ok\" : true") == std::string::npos ||
            run.out.find("\"name\"") == std::string::npos) {
            state.SkipWithError("vantrel search failed");
            break;
        }
        size_t names = 0;
        for (size_t at = run.out.find("\"name\" : \"节目"); at != std::string::npos;
             at = run.out.find("\"name\" : \"节目", at + 1))
            ++names;
        if (names != results) state.SkipWithError("wrong number of results");
        peakMb = std::max(peakMb, static_cast<double>(run.peakMemoryKb) / 1024.0);
    }
    state.counters["peak_MB"] = peakMb;
}

void BM_LabelRows_Runs(benchmark::State& state) {
    LabelPage(state, "rows", LabelPages::kItems);
}
void BM_LabelRows_WithoutRuns(benchmark::State& state) {
    LabelPage(state, "rowsplain", LabelPages::kItems);
}
void BM_ValueBehindLabels_Runs(benchmark::State& state) {
    LabelPage(state, "value", 1);
}
void BM_ValueBehindLabels_WithoutRuns(benchmark::State& state) {
    LabelPage(state, "valueplain", 1);
}

}  // namespace

BENCHMARK(BM_VantrelSearch_10results_latency50ms)
    ->ArgName("jobs")
    ->Arg(6)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(BM_LabelRows_Runs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LabelRows_WithoutRuns)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ValueBehindLabels_Runs)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_ValueBehindLabels_WithoutRuns)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();
BENCHMARK_MAIN();
