#pragma once

// The controls of "Main.xml" that the main window works with, looked up once when it
// initialises. One the skin lacks stays null, and what would use it is skipped.

#include "uilib/UiLib.h"

struct MainControls {
    UiLib::CEditUI* searchBox = nullptr;          // "edtSearchText"
    UiLib::CContainerUI* historyHost = nullptr;   // "hlSearchResult"
    UiLib::CContainerUI* bannerFront = nullptr;   // "hlTopHotTvLst1"
    UiLib::CContainerUI* bannerBack = nullptr;    // "hlTopHotTvLst2"
    UiLib::CControlUI* resultView = nullptr;      // "vlSearchResult"
    UiLib::CControlUI* searchingView = nullptr;   // "vlSearching"
    UiLib::CControlUI* noResultView = nullptr;    // "vlNoFindResult"
    UiLib::CControlUI* startView = nullptr;       // "vlTvHistory"
    UiLib::CTabLayoutUI* resultTabs = nullptr;    // "tlSearchResult", one page per show
    UiLib::CContainerUI* selectColumn = nullptr;  // "vlSelectResult"

    // Looks every control up by its name in `manager`.
    void FindIn(UiLib::CPaintManagerUI& manager);
};
