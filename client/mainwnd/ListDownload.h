#pragma once

// The download of the popular-show list ("Hot/") and the site list ("LinkSite/") with
// their images from the update server, once per client start, on a thread of its own.

#include <string>

#include "uilib/UiLib.h"

// What one download run needs, copied before the thread starts, so the thread reads
// nothing the user-interface thread may change or free.
struct ListDownloadJob {
    std::string dataFolder;       // the per-user data folder, ending in "/"
    std::string hotBaseUrl;       // the server's prefix ending in "Hot/"
    std::string linkSiteBaseUrl;  // ... ending in "LinkSite/"
};

// Whether a run took a new list over ("Hot.cfg" or "LinkSite.cfg" replaced, or
// downloaded for the first time).
struct ListChanges {
    bool hot = false;
    bool link = false;
};

// Bounds of every file the server sends for the lists.
inline constexpr long long kListFileMaxBytes = 64 * 1024;
inline constexpr long long kListImageMaxBytes = 4 * 1024 * 1024;
inline constexpr int kListTransferDeadlineSeconds = 60;

// One run, on the calling thread. For each list: with a cached list, the server's list
// is fetched into "DownLoad.cfg" and each entry's image is fetched when it is missing
// or the entry's link changed, and only then is the new list taken over; without one,
// the server's list becomes the cached list at once and its images follow. Image
// names that IsUsableImageName refuses are skipped. A list is taken over by replacing
// the cached file in one step, and only from a "DownLoad.cfg" fetched in this run.
ListChanges DownloadLists(const ListDownloadJob& job);

// Starts DownloadLists for the process's paths and update-server prefixes on a
// detached thread; when it is done the thread sends message 2031 (wParam: the hot list
// changed, lParam: the site list changed, 1 or 0; also when both are 0) to `target`.
// Nobody waits for the thread: a client that quits meanwhile leaves it to end with
// the process, and a message to a window that is gone is dropped.
void StartListDownloadThread(UiLib::HWND target);
