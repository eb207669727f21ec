#include "engine/cli/SourceFetch.h"

#include <memory>
#include <string>

#include "common/Arrivals.h"
#include "common/FetchPool.h"

namespace vantrel::cli {

SourceFetchOutcome FetchAllSources(CTrovikMgr* engine, const std::vector<SearchResult>& results,
                                   int jobs, std::chrono::steady_clock::time_point deadline) {
    const size_t count = results.size();
    // Shared with the jobs: one that outlives the deadline still has its slot.
    auto arrivals = std::make_shared<Arrivals<FetchedSources>>(count);
    size_t arrived = 0;
    {
        FetchPool pool(jobs, jobs);
        for (size_t i = 0; i < count; ++i) {
            const SearchResult& result = results[i];
            pool.Add(result.detailUrl, static_cast<int>(i),
                     [engine, arrivals, i, url = result.detailUrl, category = result.category] {
                         FetchedSources fetched;
                         fetched.ok = engine->GetPlaySources(url, &fetched.sources, category);
                         arrivals->Put(i, std::move(fetched));
                     });
        }
        while (arrived < count) {
            const std::vector<size_t> fresh = arrivals->WaitFresh(deadline);
            if (fresh.empty()) break;  // the deadline passed
            arrived += fresh.size();
        }
    }  // the pool drops the calls that have not started

    SourceFetchOutcome outcome;
    outcome.items.resize(count);
    outcome.abandoned = arrived < count;
    for (size_t i = 0; i < count; ++i) {
        if (auto fetched = arrivals->Take(i)) outcome.items[i] = std::move(*fetched);
    }
    return outcome;
}

}  // namespace vantrel::cli
