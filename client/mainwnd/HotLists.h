#pragma once

// The lists of the start view and the buttons they fill: up to five popular shows
// ("btnHot0".."btnHot4", also the banner's pictures), seven video sites
// ("btnLinkSite0".."btnLinkSite6") and six built-in sample shows ("btnHistory0"..
// "btnHistory5"). The popular-show and site lists are the ones last downloaded
// ("Hot/Hot.cfg", "LinkSite/LinkSite.cfg" in the data folder, see ListDownload.h),
// entry by entry the installation's defaults ("Config/DefaultHot.cfg",
// "Config/DefaultLinkSite.cfg") where a download is missing.
//
// Everything here runs on the user-interface thread.

#include <cstddef>
#include <string>
#include <vector>

class CTrovik;

// One popular show: its display name, the page it links to and its banner picture (a
// full path of a downloaded image, or a picture of the skin).
struct HotEntry {
    std::wstring name;
    std::wstring url;
    std::wstring image;
};

// One video site: the tooltip, the logo (as HotEntry::image) and the link.
struct SiteEntry {
    std::wstring description;
    std::wstring image;
    std::wstring url;
};

// One built-in sample show.
struct SampleEntry {
    std::wstring name;
    std::wstring url;
};

inline constexpr int kHotEntries = 5;
inline constexpr int kSiteEntries = 7;
inline constexpr int kSampleEntries = 6;
// Popular-show names longer than this are cut on their buttons (and end in "...").
inline constexpr size_t kHotNameChars = 5;

// The three lists in the main window's model. The banner shows hot entry
// BannerState::bannerIndex.
struct StartLists {
    std::vector<HotEntry> hot;
    std::vector<SiteEntry> sites;
    std::vector<SampleEntry> samples;
};

// Refill the lists from the process's paths (ProcessClientPaths). The hot list keeps
// only entries with a name and a link (at most five); the site list always has seven
// entries, empty ones included; the sample list holds the six built-in shows, whose
// links point at the portal hosts of "AutoCfg.cfg" ("Portal": "TvHost", "VideoHost",
// "SearchHost"; a missing host leaves the link empty).
void LoadHotList(std::vector<HotEntry>& hot);
void LoadSiteList(std::vector<SiteEntry>& sites);
void LoadSampleList(std::vector<SampleEntry>& samples);

// Puts the main window's lists on their buttons: tooltips, links (user data), site
// logos, and the popular shows' names (cut to kHotNameChars characters plus "..."),
// with the entry's index as tag. Buttons beyond a list's end and buttons the skin
// lacks are left alone.
void RefreshPanelButtons(CTrovik& wnd);
