#include "client/mainwnd/SearchFlow.h"

#include <chrono>
#include <memory>
#include <system_error>
#include <thread>

#include "client/core/UsageReport.h"
#include "client/mainwnd/EngineBinding.h"
#include "client/mainwnd/MainViews.h"
#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchChannel.h"
#include "client/mainwnd/SearchFetch.h"
#include "client/mainwnd/SearchKeyword.h"
#include "client/mainwnd/Trovik.h"
#include "common/TextCodec.h"
#include "platform/DebugLog.h"

namespace {

// Ends the worker's claim on every way out of the worker, exceptions included.
struct BusyRelease {
    SearchChannel& channel;
    ~BusyRelease() { channel.Release(); }
};

void SendEmpty(const SearchChannel& channel) {
    UiLib::SendMessageW(channel.window(), UMSG_SEARCH_EMPTY, 0, 0);
}

// The worker's body once the busy flag is held.
int RunSearch(const SearchChannel& channel, const std::wstring& text) {
    if (text.empty()) {
        SendEmpty(channel);
        return 0;
    }
    const SearchLimits limits = CurrentSearchLimits();
    const auto deadline = std::chrono::steady_clock::now() + limits.whole;
    SendUsageReport(1, WideToAnsi(text));

    const std::string keyword = SearchKeyword(text);
    CTrovikMgr* engine = keyword.empty() ? nullptr : BindEngine();
    if (!engine) {
        platform::DebugOutput("search: engine not bound");
        SendEmpty(channel);
        return 0;
    }
    std::vector<SearchResult> results;
    engine->Search(keyword, &results);
    const int count = static_cast<int>(results.size());
    platform::DebugOutput("search: " + std::to_string(count) + " results");
    if (count == 0) {
        SendEmpty(channel);
        return 0;
    }
    // The detail pages and posters load several at a time; the items still come one
    // by one in the engine's order, each with its poster in the cache (or failed), so
    // the window builds the page without waiting on the network.
    int sent = 0;
    FetchItemsInOrder(*engine, results, deadline, limits, [&](ResultItem& item) {
        UiLib::SendMessageW(channel.window(), UMSG_SEARCH_ITEM,
                            reinterpret_cast<UiLib::WPARAM>(&item), sent == 0 ? count : 0);
        ++sent;
    });
    platform::DebugOutput("search: " + std::to_string(sent) + " items shown");
    // Results that all lack play sources would otherwise leave the searching view up
    // for good: tell the user there is nothing to play.
    if (sent == 0) SendEmpty(channel);
    return 1;
}

}  // namespace

int SearchWorker(std::shared_ptr<SearchChannel> channel, std::wstring text) {
    if (!channel || !channel->TryClaim()) return 0;
    BusyRelease release{*channel};
    try {
        return RunSearch(*channel, text);
    } catch (...) {
        return 0;
    }
}

void StartSearch(CTrovik& wnd) {
    // The searching view only switches when the skin can build it.
    std::unique_ptr<UiLib::CControlUI> check(wnd.CreateSubLayout(L"Troviking"));
    if (check) ShowView(wnd.controls(), MainView::Searching);
    UiLib::CEditUI* box = wnd.controls().searchBox;
    std::wstring text = box ? std::wstring(box->GetText().GetData()) : std::wstring();
    // The hint an empty box shows is not a name to search for (nor to report).
    if (text == kSearchHint) text.clear();
    try {
        std::thread(SearchWorker, wnd.model().search, std::move(text)).detach();
    } catch (const std::system_error&) {
        // No thread could be started: the search ends as one that found nothing.
        OnSearchEmpty(wnd);
    }
}

void OnSearchEmpty(CTrovik& wnd) {
    const MainControls& controls = wnd.controls();
    ShowView(controls, MainView::NoResult);
    if (controls.noResultView) wnd.GetPaintManager().SetFocus(controls.noResultView);
}

void OnSearchItem(CTrovik& wnd, const ResultItem* item, int count) {
    if (!item) return;
    std::vector<ResultItem>& items = wnd.model().resultItems;
    UiLib::CTabLayoutUI* tabs = wnd.controls().resultTabs;
    const bool newSet = count != 0;
    if (newSet) {
        items.clear();
        if (tabs) tabs->RemoveAll();
    }
    items.push_back(*item);
    BuildSelectButtons(wnd, count);
    BuildResultPage(wnd, item);
    // Pages and items stay aligned even when the page could not be built.
    if (tabs) {
        while (tabs->GetCount() < static_cast<int>(items.size())) {
            tabs->Add(new CTrovikResultItemUI);
        }
    }
    if (newSet) {
        ShowView(wnd.controls(), MainView::Results);
        if (tabs) tabs->SelectItem(0);
    }
}
