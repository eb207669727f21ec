#pragma once

#include <atomic>
#include <mutex>
#include <string>

#include "uilib/UiLib.h"
#include "updater/DownloadFiles.h"
#include "updater/UpdateCheck.h"
#include "updater/UpdaterConfig.h"

// What the window shares with its worker thread. The worker holds its own reference,
// so the session outlives the window if the process ends while the thread runs. The
// worker reaches the window only through messages to its handle (a handle of a
// destroyed window is harmless): progress and label changes are posted, the end of
// the check and of the download is sent, and `result` is complete before the send,
// so the window reads it inside that message's handler without a lock.
struct UpdateSession : DownloadObserver {
    explicit UpdateSession(UpdaterConfig configuration) : config(std::move(configuration)) {}

    const UpdaterConfig config;
    UiLib::HWND window = nullptr;  // set before the worker starts
    CheckResult result;
    std::atomic<bool> working{false};

    void SetLabel(const std::wstring& text) override;
    void SetProgress(int percent) override;
    std::wstring Label();

private:
    std::mutex mutex_;
    std::wstring label_;
    // The bar hears of a change only: progress notifications come with every piece.
    std::atomic<int> lastPercent_{-1};
};

// The worker: the check, then the downloads when there are files to fetch.
void UpdateThreadProc(const std::shared_ptr<UpdateSession>& session);
