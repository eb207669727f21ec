#include "client/mainwnd/SearchFlow.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <system_error>
#include <thread>

#include "client/core/UsageReport.h"
#include "client/frame/ClientProcess.h"
#include "client/mainwnd/EngineBinding.h"
#include "client/mainwnd/MainViews.h"
#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFetch.h"
#include "client/mainwnd/SearchKeyword.h"
#include "client/mainwnd/Trovik.h"
#include "common/TextCodec.h"
#include "platform/DebugLog.h"

namespace {

std::atomic_flag g_searchBusy = ATOMIC_FLAG_INIT;

// Clears the busy flag on every way out of the worker, exceptions included.
struct BusyRelease {
    ~BusyRelease() { g_searchBusy.clear(); }
};

void SendEmpty() {
    UiLib::SendMessageW(ClientProcess().mainWindow.load(), UMSG_SEARCH_EMPTY, 0, 0);
}

// The worker's body once the busy flag is held.
int RunSearch(const std::wstring& text) {
    if (text.empty()) {
        SendEmpty();
        return 0;
    }
    const SearchLimits limits = CurrentSearchLimits();
    const auto deadline = std::chrono::steady_clock::now() + limits.whole;
    SendUsageReport(1, WideToAnsi(text));

    const std::string keyword = SearchKeyword(text);
    CTrovikMgr* engine = keyword.empty() ? nullptr : BindEngine();
    if (!engine) {
        platform::DebugOutput("search: engine not bound");
        SendEmpty();
        return 0;
    }
    std::vector<SearchResult> results;
    engine->Search(keyword, &results);
    const int count = static_cast<int>(results.size());
    platform::DebugOutput("search: " + std::to_string(count) + " results");
    if (count == 0) {
        SendEmpty();
        return 0;
    }
    // The detail pages and posters load several at a time; the items still come one
    // by one in the engine's order, each with its poster in the cache (or failed), so
    // the window builds the page without waiting on the network.
    int sent = 0;
    FetchItemsInOrder(*engine, results, deadline, limits, [&](ResultItem& item) {
        UiLib::SendMessageW(ClientProcess().mainWindow.load(), UMSG_SEARCH_ITEM,
                            reinterpret_cast<UiLib::WPARAM>(&item), sent == 0 ? count : 0);
        ++sent;
    });
    platform::DebugOutput("search: " + std::to_string(sent) + " items shown");
    // Results that all lack play sources would otherwise leave the searching view up
    // for good: tell the user there is nothing to play.
    if (sent == 0) SendEmpty();
    return 1;
}

}  // namespace

std::vector<ResultItem>& ResultItems() {
    static std::vector<ResultItem> items;
    return items;
}

bool SearchBusy() {
    return g_searchBusy.test();
}

int SearchWorker(std::wstring text) {
    if (g_searchBusy.test_and_set()) return 0;
    BusyRelease release;
    try {
        return RunSearch(text);
    } catch (...) {
        return 0;
    }
}

void StartSearch(CTrovik& wnd) {
    // The searching view only switches when the skin can build it.
    std::unique_ptr<UiLib::CControlUI> check(wnd.CreateSubLayout(L"Troviking"));
    if (check) {
        SetViewVisible(wnd.searchingView, true);
        SetViewVisible(wnd.noResultView, false);
        SetViewVisible(wnd.resultView, false);
        SetViewVisible(wnd.startView, false);
        SetViewVisible(wnd.selectColumn, false);
    }
    std::wstring text =
        wnd.searchBox ? std::wstring(wnd.searchBox->GetText().GetData()) : std::wstring();
    // The hint an empty box shows is not a name to search for (nor to report).
    if (text == kSearchHint) text.clear();
    try {
        std::thread(SearchWorker, std::move(text)).detach();
    } catch (const std::system_error&) {
        // No thread could be started: the search ends as one that found nothing.
        OnSearchEmpty(wnd);
    }
}

void OnSearchEmpty(CTrovik& wnd) {
    SetViewVisible(wnd.searchingView, false);
    SetViewVisible(wnd.noResultView, true);
    SetViewVisible(wnd.resultView, false);
    SetViewVisible(wnd.startView, false);
    SetViewVisible(wnd.selectColumn, false);
    if (wnd.noResultView) wnd.GetPaintManager().SetFocus(wnd.noResultView);
}

void OnSearchItem(CTrovik& wnd, const ResultItem* item, int count) {
    if (!item) return;
    const bool newSet = count != 0;
    if (newSet) {
        ResultItems().clear();
        if (wnd.resultTabs) wnd.resultTabs->RemoveAll();
    }
    ResultItems().push_back(*item);
    BuildSelectButtons(wnd, count);
    BuildResultPage(wnd, item);
    // Pages and items stay aligned even when the page could not be built.
    if (wnd.resultTabs) {
        while (wnd.resultTabs->GetCount() < static_cast<int>(ResultItems().size())) {
            wnd.resultTabs->Add(new CTrovikResultItemUI);
        }
    }
    if (newSet) {
        SetViewVisible(wnd.resultView, true);
        SetViewVisible(wnd.selectColumn, true);
        SetViewVisible(wnd.searchingView, false);
        SetViewVisible(wnd.noResultView, false);
        SetViewVisible(wnd.startView, false);
        if (wnd.resultTabs) wnd.resultTabs->SelectItem(0);
    }
}
