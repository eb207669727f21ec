#pragma once

// Extraction of the shows listed on the portal's search page.

#include <string>
#include <vector>

#include "engine/HtmlNode.h"
#include "vantrel/TrovikMgr.h"

namespace vantrel {

// A list field never grows past this many entries, so that a hostile page whose
// label runs overlap cannot make the extraction quadratic (no real show has
// anywhere near this many actors, directors or genres).
inline constexpr size_t kMaxListEntries = 4096;

// A search page yields at most this many records (a portal lists a few dozen shows
// per page), so that a page of hundreds of thousands of empty items cannot take
// seconds and hundreds of megabytes of records.
inline constexpr size_t kMaxResultItems = 10000;

// Parses a search page and appends one record per item of its result list (the
// first `ul` whose id is "searchlist"), the first kMaxResultItems items only. True
// when the page has that list.
bool ParseResultList(const std::string& page, std::vector<SearchResult>* results);

// Fills `record` from one `li` item of the result list.
void ParseResultItem(HtmlNode* item, SearchResult* record);

// Appends the first-child texts of the run of sibling elements that starts at
// `start` and whose tag names equal `tagName` byte for byte.
void CollectSiblingTexts(const HtmlNode* start, std::vector<std::string>* list,
                         const std::string& tagName);

}  // namespace vantrel
