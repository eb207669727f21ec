#pragma once

// A real main window (CTrovik from the real skin archive) in a private instance
// folder, driven headless, for the search and result-page tests.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFetch.h"
#include "client/mainwnd/SearchFlow.h"
#include "client/mainwnd/Trovik.h"
#include "tools/testsupport/IsolatedEnv.h"
#include "uilib/testing/UiTestDriver.h"

namespace searchtest {

class SearchTestWindow {
public:
    // `statHost`: where the usage reports go ("" leaves them unanswered on a closed
    // loopback port). `engineLibrary`: the file the engine binding loads.
    SearchTestWindow(const std::string& statHost, const std::string& engineLibrary);
    ~SearchTestWindow();

    CTrovik& wnd() { return *wnd_; }
    UiLib::HWND hwnd() const { return wnd_->GetHWND(); }
    UiLib::testing::UiTestDriver& driver() { return driver_; }
    const testsupport::IsolatedEnv& env() const { return env_; }

    // Types `text` into the search box and clicks "btnSearch".
    void Search(const std::wstring& text);

    // Destroys the window and frees it at once, whatever its search is doing.
    void Close();

    bool Visible(const wchar_t* name);
    int PageCount();
    CTrovikResultItemUI* Page(int index);
    UiLib::CControlUI* InPage(int index, const wchar_t* name);
    // The children of the page's "ctTvBlock" / the select column, in order.
    std::vector<UiLib::CControlUI*> BlockButtons(int index);
    std::vector<UiLib::CControlUI*> SelectButtons();
    std::vector<UiLib::COptionUI*> SourceButtons(int index);
    // Episode numbers shown by the page's block ("{f 1}17集{/f}" gives 17).
    std::vector<int> EpisodeNumbers(int index);

private:
    testsupport::IsolatedEnv env_;
    UiLib::testing::UiTestDriver driver_;
    std::unique_ptr<CTrovik> wnd_;
};

// Sets the bounds of the searches started during its lifetime, then restores them.
class ScopedSearchLimits {
public:
    explicit ScopedSearchLimits(const SearchLimits& limits) : saved_(CurrentSearchLimits()) {
        SetSearchLimits(limits);
    }
    ~ScopedSearchLimits() { SetSearchLimits(saved_); }
    ScopedSearchLimits(const ScopedSearchLimits&) = delete;
    ScopedSearchLimits& operator=(const ScopedSearchLimits&) = delete;

private:
    SearchLimits saved_;
};

// The engine library in the build's bin folder and the test doubles beside the tests.
std::string EngineLibrary();
std::string FakeEngineLibrary();
std::string NoExportLibrary();

// A built item: `sources` play sources named "S1"…, each with `links` links
// "http://play.test/<source>/<n>".
ResultItem MakeItem(const std::string& name, int sources, int links);

}  // namespace searchtest
