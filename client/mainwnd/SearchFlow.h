#pragma once

// The search flow: a worker thread per search binds the engine library, collects
// every result with its play sources and hands the items one by one to the main
// window (messages 2028 and 2027); the handlers here run on the user-interface thread.

#include <memory>
#include <string>

#include "client/mainwnd/ResultItem.h"

class CTrovik;
class SearchChannel;

constexpr unsigned UMSG_SEARCH_EMPTY = 2027;  // nothing to show
constexpr unsigned UMSG_SEARCH_ITEM = 2028;   // wParam: const ResultItem*, lParam: result count

// Switches to the searching view and starts a search worker for the search box's text
// on the window's search channel.
void StartSearch(CTrovik& wnd);

// The search worker: returns 1 when at least one engine result was processed, else 0.
// Ends at once (0, no message) while another worker holds `channel`; otherwise reports
// to the channel's window with 2028 per result that has play sources, in the engine's
// order, and with 2027 when there is nothing to show: empty text, engine not bindable,
// no results, or no result with play sources. The whole search ends within the bound
// of CurrentSearchLimits() (SearchFetch.h). The worker touches nothing of the window
// but the channel, which it shares.
int SearchWorker(std::shared_ptr<SearchChannel> channel, std::wstring text);

// Message 2027: the no-result view.
void OnSearchEmpty(CTrovik& wnd);

// Message 2028: `count` is the number of engine results for the first item of a
// search, 0 for every later item.
void OnSearchItem(CTrovik& wnd, const ResultItem* item, int count);
