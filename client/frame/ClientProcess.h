#pragma once

// The client's process-wide state, in one place.
//
// The window-free values live in client/core/ and are reached there:
// ProcessClientPaths(), ProcessClientSettings(), ProcessStartupFlags() and
// ProcessUsageReportSetup(). What the windows and the worker threads share is here:
//
// - mainWindow: the main window, stored when it initialises and cleared when it is
//   destroyed; the list download and the floating window address it.
// - floatingWindow: the floating tool window while it exists; the settings dialog
//   shows or hides it.
// - animationEnabled: whether the banner and the waiting animation advance; true at
//   start, false while the pointer rests on the banner's text band.
// - menuChecks: the check map the tray menu opens with (user-interface thread only).
//
// Everything else belongs to one window: the main window keeps its state in its model
// (client/mainwnd/MainModel.h).

#include <atomic>

#include "client/menu/MenuObserver.h"
#include "uilib/UiLib.h"

struct ClientProcessState {
    // Read from worker threads, hence atomic.
    std::atomic<UiLib::HWND> mainWindow{nullptr};
    std::atomic<UiLib::HWND> floatingWindow{nullptr};
    std::atomic<bool> animationEnabled{true};
    MenuCheckMap menuChecks;
};

ClientProcessState& ClientProcess();
