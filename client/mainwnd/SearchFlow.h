#pragma once

// The search flow: a worker thread per search binds the engine library, collects
// every result with its play sources and hands the items one by one to the main
// window (messages 2028 and 2027); the handlers here run on the user-interface thread.

#include <string>
#include <vector>

#include "vantrel/TrovikMgr.h"

class CTrovik;

constexpr unsigned UMSG_SEARCH_EMPTY = 2027;  // nothing to show
constexpr unsigned UMSG_SEARCH_ITEM = 2028;   // wParam: const ResultItem*, lParam: result count

// One show as the client keeps it: the engine's record and its play sources.
struct ResultItem {
    SearchResult result;
    std::vector<PlaySource> sources;  // never empty in a stored item
};

// The process-wide result list; entry i belongs to page i of "tlSearchResult".
// Touched only on the user-interface thread.
std::vector<ResultItem>& ResultItems();

// Switches to the searching view and starts a search worker for the search box's text.
void StartSearch(CTrovik& wnd);

// The search worker: returns 1 when at least one engine result was processed, else 0.
// Ends at once (0, no message) while another search runs; otherwise reports to
// the main window (ClientProcess().mainWindow) with 2028 per result that has play
// sources, in the engine's order,
// and with 2027 when there is nothing to show: empty text, engine not bindable, no
// results, or no result with play sources. The whole search ends within the bound of
// CurrentSearchLimits() (SearchFetch.h).
int SearchWorker(std::wstring text);

// Whether a search worker is running (the process-wide busy flag).
bool SearchBusy();

// Message 2027: the no-result view.
void OnSearchEmpty(CTrovik& wnd);

// Message 2028: `count` is the number of engine results for the first item of a
// search, 0 for every later item.
void OnSearchItem(CTrovik& wnd, const ResultItem* item, int count);
