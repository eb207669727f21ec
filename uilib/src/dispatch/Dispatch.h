#pragma once

// The message model of the framework: window handles, sent and posted messages, the
// quit message and the nested message loops, all on the event loop of the installed
// backend (see Backend.h).

#include <functional>
#include <vector>

#include "uilib/core/WindowWnd.h"

namespace UiLib::detail {

// True on the user-interface thread (the one that installed the backend), and on any
// thread while there is no backend.
bool IsUiThread();
// Queues fn for the user-interface thread (any thread). Dropped when there is no
// backend.
void PostToUi(std::function<void()> fn);
// Runs fn on the user-interface thread and waits for it (any thread). False when the
// user-interface thread can no longer run it (the backend went away).
bool RunOnUiBlocking(const std::function<void()>& fn);
// Changes with every installation of a backend, so that what a backend made (decoded
// images) is not handed to another.
unsigned BackendGeneration();

HWND RegisterWindow(CWindowWnd* wnd);
void UnregisterWindow(HWND hWnd);
// Services that keep state per window (tray icons) forget it when the window goes:
// every hook runs with the handle as the window is unregistered. A hook added twice
// runs once.
void AddWindowReleaseHook(void (*hook)(HWND));
CWindowWnd* WindowFromHandle(HWND hWnd);
// Every live window, in the order they were created.
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
// Wakes the running loops so they check their conditions again.
void WakeLoops();

}  // namespace UiLib::detail
