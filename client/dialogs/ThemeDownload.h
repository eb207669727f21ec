#pragma once

// One background picture downloaded on a worker thread, so that the window asking for
// it keeps painting and answering. The worker reports to that window only through
// posted messages, which are dropped once the window is gone, and touches nothing else
// of it: closing the window while a download runs is safe.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "uilib/UiLib.h"

// Posted to the window while the picture arrives: wParam the download's id, lParam
// the percentage (0 to 100), only when it changed.
constexpr UiLib::UINT UMSG_THEME_PROGRESS = 2026;
// Posted once when the worker ends: wParam the download's id, lParam 1 when the
// complete picture is at its path, 0 when the download failed or was cancelled.
constexpr UiLib::UINT UMSG_THEME_DONE = 2030;

// A larger answer is no background picture (the pictures are a few hundred kilobytes):
// the download is given up before it can fill the disk.
constexpr std::uint64_t kThemeMaxBytes = 32ull * 1024 * 1024;

class ThemeDownload {
public:
    // Starts downloading `url` into `filePath` (UrlDownloadToFile: the body goes to a
    // temporary file that replaces `filePath` only once complete, so a failure or a
    // cancel leaves `filePath` as it was and no partial file behind). Besides the
    // cancel, the ten-minute limit of CBindCallback ends it. Null when no worker
    // thread could be started.
    static std::shared_ptr<ThemeDownload> Start(std::string url, std::string filePath,
                                                UiLib::HWND window, UiLib::WPARAM id);

    ThemeDownload(std::string filePath, UiLib::WPARAM id)
        : filePath_(std::move(filePath)), id_(id) {}

    // Asks the worker to stop: the transfer is aborted at its next progress
    // notification (libcurl gives one at least every second), its temporary file is
    // removed and "done" is posted with 0.
    void Cancel() { cancelled_ = true; }
    bool cancelled() const { return cancelled_; }

    const std::string& filePath() const { return filePath_; }
    UiLib::WPARAM id() const { return id_; }

private:
    std::atomic<bool> cancelled_{false};
    const std::string filePath_;
    const UiLib::WPARAM id_;
};
