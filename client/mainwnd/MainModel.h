#pragma once

// MainModel: the main window's state, one per window, owned by CTrovik. What is
// process-wide instead (the window handles, AnimationEnabled, the settings, the menu's
// check map) is listed in client/frame/ClientProcess.h.
//
// Everything here is used on the user-interface thread only, except the search
// channel, which the window shares with the search workers it starts.

#include <cstdint>
#include <memory>
#include <vector>

#include "client/mainwnd/Banner.h"
#include "client/mainwnd/HotLists.h"
#include "client/mainwnd/ResultItem.h"
#include "client/mainwnd/SearchChannel.h"

struct MainModel {
    // The layout's size, stored as the window initialises; the width is the banner's.
    std::int32_t initialWidth = 0;
    std::int32_t initialHeight = 0;

    // ResultItems: entry i belongs to page i of "tlSearchResult".
    std::vector<ResultItem> resultItems;
    // The busy flag and the target of this window's search workers.
    std::shared_ptr<SearchChannel> search = std::make_shared<SearchChannel>();
    // The start view's popular shows, sites and sample shows.
    StartLists lists;
    // The sliding banner.
    BannerState banner;
    // The picture the waiting animation shows next ("Searching0.png" .. 4).
    std::uint8_t waitingFrame = 0;
};
