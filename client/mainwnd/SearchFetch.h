#pragma once

// The network part of a search after the search page: the play sources of every
// result and the posters of those that have sources, fetched several at a time on
// threads of their own and handed over in the results' order.

#include <chrono>
#include <functional>
#include <vector>

#include "client/mainwnd/PosterCache.h"
#include "common/FetchPool.h"
#include "vantrel/TrovikMgr.h"

struct ResultItem;

// The bounds of one search.
struct SearchLimits {
    std::chrono::milliseconds whole = kSearchDeadline;   // from the worker's start to its end
    std::chrono::milliseconds poster = kPosterDeadline;  // one poster download
    int perHost = kRequestsPerHost;                      // requests at a time to one host
};

// The bounds every search takes when it starts. Tests shorten them; set them before a
// search starts, not while one runs.
SearchLimits CurrentSearchLimits();
void SetSearchLimits(const SearchLimits& limits);

// Calls GetPlaySources for every result and, for each result that has play sources,
// fetches its poster into the cache (PosterFile), at most limits.perHost requests at a
// time to one host, the earlier results first. `deliver` runs on the calling thread,
// once per result with play sources, in the results' order, when the result's poster
// is in the cache or has failed: so a page can be built at once, without the network.
// A result whose sources have not arrived by `deadline` counts as one without
// sources; a poster not fetched by then leaves its page the placeholder. Returns the
// number of items delivered. Calls still running at the deadline finish on their own
// threads, and their results are dropped.
int FetchItemsInOrder(CTrovikMgr& engine, const std::vector<SearchResult>& results,
                      std::chrono::steady_clock::time_point deadline, const SearchLimits& limits,
                      const std::function<void(ResultItem&)>& deliver);
