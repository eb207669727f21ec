#pragma once

// The play sources of every result of a search, fetched several at a time.

#include <chrono>
#include <vector>

#include "vantrel/TrovikMgr.h"

namespace vantrel::cli {

// What GetPlaySources gave for one result.
struct FetchedSources {
    bool ok = false;
    std::vector<PlaySource> sources;
};

struct SourceFetchOutcome {
    std::vector<FetchedSources> items;  // one per result, in the results' order
    bool abandoned = false;             // some fetches still ran at the deadline
};

// Calls GetPlaySources for every result, at most `jobs` at a time (the detail pages of
// one portal share one host), the earlier results first. A result whose call has not
// returned by `deadline` counts as one without sources (ok false, no sources); its call
// goes on on its own thread, and the outcome says so.
SourceFetchOutcome FetchAllSources(CTrovikMgr* engine, const std::vector<SearchResult>& results,
                                   int jobs, std::chrono::steady_clock::time_point deadline);

}  // namespace vantrel::cli
