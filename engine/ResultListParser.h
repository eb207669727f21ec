#pragma once

// Extraction of the shows listed on the portal's search page.

#include <string>
#include <vector>

#include "engine/HtmlNode.h"
#include "engine/PageGuard.h"
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

// What the list fields (actors, directors, genres) of all records of one page may
// hold together: entries, and bytes of their texts. Each entry is the text of an
// element that has a child, and a page within the pre-scan's node limit has at most
// half as many such elements as nodes; the texts of distinct elements are disjoint
// parts of the page. So a page reaches neither bound unless its labels collect the
// same elements again and again: a label collects every like sibling after it, and a
// run of labels is itself such a run, so n labels in a row, or one huge value behind
// a row of labels, would cost n*n/2 entries or n copies of the value. Collecting stops
// at the bound; every record of a page below it is exactly as without the bound.
inline constexpr size_t kMaxListEntriesPerPage = PageLimits{}.maxNodes / 2;
inline constexpr size_t kMaxListBytesPerPage = PageLimits{}.maxBytes;

// What is left of a page's list allowance.
struct ListBudget {
    size_t entries = kMaxListEntriesPerPage;
    size_t bytes = kMaxListBytesPerPage;
};

// Parses a search page and appends one record per item of its result list (the
// first `ul` whose id is "searchlist"), the first kMaxResultItems items only. True
// when the page has that list.
bool ParseResultList(const std::string& page, std::vector<SearchResult>* results);

// Fills `record` from one `li` item of the result list; its list fields take from
// `budget` when one is given.
void ParseResultItem(HtmlNode* item, SearchResult* record, ListBudget* budget = nullptr);

// Appends the first-child texts of the run of sibling elements that starts at
// `start` and whose tag names equal `tagName` byte for byte; stops early at
// kMaxListEntries entries in the list and when an entry would not fit the budget.
void CollectSiblingTexts(const HtmlNode* start, std::vector<std::string>* list,
                         const std::string& tagName, ListBudget* budget = nullptr);

}  // namespace vantrel
