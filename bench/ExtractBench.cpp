// Parse plus extraction of synthetic portal pages, with the stages alone for
// comparison. Throughput is reported per byte of page.

#include <benchmark/benchmark.h>

#include "bench/SyntheticPages.h"
#include "engine/DetailPageParser.h"
#include "engine/HtmlTree.h"
#include "engine/PageGuard.h"
#include "engine/ResultListParser.h"

namespace {

const std::string& Page150K() {
    static const std::string page = bench::SearchPage(30);
    return page;
}
const std::string& Page1500K() {
    static const std::string page = bench::SearchPage(330);
    return page;
}
const std::string& Series6x40() {
    static const std::string page = bench::SeriesPage(6, 40);
    return page;
}

void Search(benchmark::State& state, const std::string& page, size_t expected) {
    for (auto _ : state) {
        std::vector<SearchResult> results;
        vantrel::ParseResultList(page, &results);
        if (results.size() != expected) state.SkipWithError("wrong number of results");
        benchmark::DoNotOptimize(results.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["page_KB"] = static_cast<double>(page.size()) / 1024.0;
}

void BM_SearchExtract_150KB_30items(benchmark::State& state) {
    Search(state, Page150K(), 30);
}
void BM_SearchExtract_1500KB_330items(benchmark::State& state) {
    Search(state, Page1500K(), 330);
}

void BM_SeriesExtract_6sites_40episodes(benchmark::State& state) {
    const std::string& page = Series6x40();
    for (auto _ : state) {
        std::vector<PlaySource> sources;
        if (!vantrel::ParseSeriesPage(page, &sources) || sources.size() != 6 ||
            sources[5].links.size() != 40)
            state.SkipWithError("wrong sources");
        benchmark::DoNotOptimize(sources.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
    state.counters["page_KB"] = static_cast<double>(page.size()) / 1024.0;
}

// The stages alone, on the 150 KB page.
void BM_Stage_PreScan_150KB(benchmark::State& state) {
    const std::string& page = Page150K();
    for (auto _ : state) benchmark::DoNotOptimize(vantrel::ScanPage(page).nodes);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

void BM_Stage_PreScanAndParse_150KB(benchmark::State& state) {
    const std::string& page = Page150K();
    for (auto _ : state) {
        vantrel::HtmlTree tree(page);
        benchmark::DoNotOptimize(tree.root());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * page.size()));
}

// The hostile label-run pages of VantrelSearchBench, extraction alone.
void LabelPageExtract(benchmark::State& state, const std::string& page, size_t expected) {
    for (auto _ : state) {
        std::vector<SearchResult> results;
        vantrel::ParseResultList(page, &results);
        if (results.size() != expected) state.SkipWithError("wrong number of results");
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["page_KB"] = static_cast<double>(page.size()) / 1024.0;
}

void BM_LabelRowsExtract_Runs(benchmark::State& state) {
    static const std::string page = bench::LabelRowsPage(400, 270, true);
    LabelPageExtract(state, page, 400);
}
void BM_LabelRowsExtract_WithoutRuns(benchmark::State& state) {
    static const std::string page = bench::LabelRowsPage(400, 270, false);
    LabelPageExtract(state, page, 400);
}
void BM_ValueBehindLabelsExtract_Runs(benchmark::State& state) {
    static const std::string page = bench::LabelValuePage(150, (8u << 20) - (64u << 10), true);
    LabelPageExtract(state, page, 1);
}
void BM_ValueBehindLabelsExtract_WithoutRuns(benchmark::State& state) {
    static const std::string page = bench::LabelValuePage(150, (8u << 20) - (64u << 10), false);
    LabelPageExtract(state, page, 1);
}

}  // namespace

BENCHMARK(BM_LabelRowsExtract_Runs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LabelRowsExtract_WithoutRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueBehindLabelsExtract_Runs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ValueBehindLabelsExtract_WithoutRuns)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchExtract_150KB_30items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SearchExtract_1500KB_330items)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SeriesExtract_6sites_40episodes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stage_PreScan_150KB)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Stage_PreScanAndParse_150KB)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
