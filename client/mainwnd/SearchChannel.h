#pragma once

// What a search worker shares with the window that started it: the busy flag that
// keeps the window's searches from overlapping, and the window the worker reports to.
// The window's model and every worker it started each hold the channel, so a worker
// that outlives its window still finds it; the worker reaches the window only through
// messages, which go nowhere once the window has cleared its handle here.

#include <atomic>

#include "uilib/UiLib.h"

class SearchChannel {
public:
    // The window the workers report to; null before it initialises and after it is
    // destroyed.
    UiLib::HWND window() const { return window_.load(); }
    void SetWindow(UiLib::HWND hwnd) { window_.store(hwnd); }

    // SearchBusy: true while a worker holds the channel.
    bool SearchBusy() const { return busy_.test(); }
    // A worker's atomic test-and-set: false when another worker holds the channel.
    bool TryClaim() { return !busy_.test_and_set(); }
    // Ends a worker's claim (on every way out of the worker).
    void Release() { busy_.clear(); }

private:
    std::atomic<UiLib::HWND> window_{nullptr};
    std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
};
