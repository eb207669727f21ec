// A whole `vantrel search` of 10 results (one search page and ten detail pages)
// against devserver with 50 ms of latency per request: the time a user waits.

#include <benchmark/benchmark.h>

#include <memory>

#include "tools/devserver/testing/ChildProcess.h"

namespace {

using devserver::testing::BinPath;
using devserver::testing::DevServerProcess;
using devserver::testing::RunProgram;

void BM_VantrelSearch_10results_latency50ms(benchmark::State& state) {
    DevServerProcess server({"--latency-ms", "50"});
    for (auto _ : state) {
        // "全部" lists ten shows in the sample portal.
        const auto run =
            RunProgram(BinPath("vantrel"), {"search", "--portal", server.hostPort(), "全部"});
        if (run.exitCode != 0 || run.out.find("\"古剑奇谭\"") == std::string::npos)
            state.SkipWithError("vantrel search failed");
    }
}

}  // namespace

BENCHMARK(BM_VantrelSearch_10results_latency50ms)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK_MAIN();
