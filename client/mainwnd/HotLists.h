#pragma once

// The popular-show banner, the hot buttons, the site panel and the sample shows, with
// the lists they are filled from (downloaded at every start, cached per user, built-in
// defaults until then).
//
// Not built yet: the operations below keep the skin's own buttons and pictures and do
// no downloading; each call is recorded (PendingCalls.h).

#include <string>
#include <vector>

class CTrovik;

// One popular show: its display name, the page it links to and its banner picture.
struct HotEntry {
    std::wstring name;
    std::wstring link;
    std::wstring image;
};

// The hot list in its order; the banner shows entry CTrovik::bannerIndex. Touched only
// on the user-interface thread.
std::vector<HotEntry>& HotEntries();

// Starts the thread that downloads the hot and site lists once and then sends message
// 2031 to the main window.
void StartListDownloadThread();

// Fill the hot list, the site list and the sample list and their panels.
void LoadHotList(CTrovik& wnd);
void LoadSiteList(CTrovik& wnd);
void LoadSampleList(CTrovik& wnd);

// One step of the banner (timer 2025): slides to the next hot entry and re-arms the
// timer with bannerSlideMs or bannerRestMs.
void BannerStep(CTrovik& wnd);

// Puts the loaded lists' texts, links and pictures on the panel buttons.
void RefreshPanelButtons(CTrovik& wnd);
