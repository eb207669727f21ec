#pragma once

// The views of the main window's result area. Exactly one shows at a time: the start
// view "vlTvHistory", the searching view "vlSearching", the no-result view
// "vlNoFindResult", or the result pages "vlSearchResult" with their select column
// "vlSelectResult". ShowView switches among them; views the skin lacks are skipped.

#include "client/mainwnd/MainControls.h"

enum class MainView {
    Opening,    // the start view as the window opens: "vlNoFindResult" keeps the skin's setting
    Start,      // back to the start view (the search box got the focus)
    Searching,  // a search runs
    NoResult,   // nothing to show
    Results,    // the result pages and their select column
};

void ShowView(const MainControls& controls, MainView view);

// Whether `view` exists and is shown.
bool IsViewVisible(const UiLib::CControlUI* view);
