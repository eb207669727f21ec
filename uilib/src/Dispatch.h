#pragma once

// The message model of the framework: window handles, sent and posted messages, the
// quit message and the nested message loops, all on the Qt event loop of the
// user-interface thread.

#include <QEventLoop>
#include <functional>

#include "uilib/core/WindowWnd.h"

namespace UiLib::detail {

// True on the thread that created the application object (and while there is none).
bool IsUiThread();
// Queues fn for the user-interface thread (any thread). Dropped when there is no
// application object (or it is shutting down).
void PostToUi(std::function<void()> fn);
// Runs fn on the user-interface thread and waits for it (any thread). False when the
// user-interface thread can no longer run it (shutdown).
bool RunOnUiBlocking(const std::function<void()>& fn);
// Called when the application object starts and ends.
void StartDispatch();
void StopDispatch();

HWND RegisterWindow(CWindowWnd* wnd);
void UnregisterWindow(HWND hWnd);
CWindowWnd* WindowFromHandle(HWND hWnd);
// Every live top-level window (for FindWindowW and the test driver).
std::vector<HWND> AllWindows();

// Calls the window procedure on the user-interface thread.
LRESULT Deliver(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Quit state and loops.
bool QuitRequested();
int QuitCode();
void ClearQuit();
void RequestQuit(int code);
// Runs a nested loop until `done` holds after an event, or until quit.
void RunLoopUntil(const std::function<bool()>& done);
// Wakes the running loops so they re-check their conditions.
void WakeLoops();

}  // namespace UiLib::detail
