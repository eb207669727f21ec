#pragma once

// Free functions mirroring the Win32 window services, realised on the framework's own
// message model. All of them may be called from the user-interface thread; the ones
// marked "any thread" may also be called from worker threads.

#include <cstddef>
#include <string>
#include <vector>

#include "uilib/core/Win32Types.h"

namespace UiLib {

// Delivers a message to the window procedure and returns its result. From a worker
// thread it blocks until the user-interface thread has handled the message (any
// thread). A handle of a window that no longer exists gives 0.
LRESULT SendMessageW(HWND hWnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues a message for the window; FALSE when the window does not exist (any thread).
BOOL PostMessageW(HWND hWnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Ends every running message loop, the modal ones included, once the messages posted
// before it have been handled (any thread).
void PostQuitMessage(int exitCode);

// Timers: one per (window, id); arming an id again replaces it. 0 ms fires as often as
// possible, at most every 10 ms (the Win32 minimum). WM_TIMER carries the id in wParam.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapseMs);
BOOL KillTimer(HWND hWnd, UINT_PTR id);

BOOL IsWindow(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
// Whether the window is minimised to the task bar (a minimised window still counts as
// visible, as on Win32; SW_SHOW, SW_SHOWNORMAL and SW_RESTORE bring it back).
BOOL IsIconic(HWND hWnd);
BOOL ShowWindow(HWND hWnd, int cmdShow);
BOOL DestroyWindow(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL enable);
BOOL IsWindowEnabled(HWND hWnd);
BOOL SetForegroundWindow(HWND hWnd);
// The window last brought to the front through SetForegroundWindow or a show.
HWND GetForegroundWindow();
BOOL SetWindowPos(HWND hWnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
BOOL MoveWindow(HWND hWnd, int x, int y, int cx, int cy, BOOL repaint = TRUE);
BOOL GetWindowRect(HWND hWnd, RECT* rect);
BOOL GetClientRect(HWND hWnd, RECT* rect);
BOOL ClientToScreen(HWND hWnd, POINT* pt);
BOOL ScreenToClient(HWND hWnd, POINT* pt);
HWND GetParent(HWND hWnd);
BOOL SetWindowTextW(HWND hWnd, LPCTSTR text);
std::wstring GetWindowText(HWND hWnd);
// The registered class name of the window.
std::wstring GetClassName(HWND hWnd);
// Finds a top-level window of this process by class name and title (either may be
// null to match any).
HWND FindWindowW(LPCTSTR className, LPCTSTR title);
// Directs all mouse input to the window until ReleaseCapture.
HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
// Opacity of the whole window, 0..255.
BOOL SetWindowAlpha(HWND hWnd, BYTE alpha);
// Gives the window a rounded shape (corner ellipse w × h); 0,0 removes the shape.
BOOL SetWindowRoundCorners(HWND hWnd, int w, int h);
// Starts moving the window with the pointer, as a press on a caption does.
BOOL BeginWindowDrag(HWND hWnd);

// The state of a key as of the keyboard message being handled: the high bit (a
// negative value) while it is held. Known for VK_SHIFT and VK_CONTROL.
short GetKeyState(int vk);

BOOL GetCursorPos(POINT* pt);
// Moves the pointer to a screen position.
BOOL SetCursorPos(int x, int y);
int GetSystemMetrics(int index);
HMONITOR MonitorFromWindow(HWND hWnd, DWORD flags);
HMONITOR MonitorFromPoint(POINT pt, DWORD flags);
BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);
// The work area (screen less panels) of the monitor that holds the window, or of the
// primary monitor for a null handle.
RECT GetWorkArea(HWND hWnd);
// Milliseconds since the process started its clock (any thread).
DWORD GetTickCount();

// The question box: a modal box with the text, caption and MB_* flags; returns IDYES,
// IDNO, IDOK or IDCANCEL. Tests answer it through the test driver.
int MessageBoxW(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type);

// Icons: an icon is registered once from image bytes (PNG) under a resource id and
// loaded by that id. DestroyIcon is accepted for symmetry; registered icons stay.
void RegisterIconResource(UINT id, const void* data, std::size_t size);
HICON LoadIconW(HINSTANCE instance, LPCTSTR name);
BOOL DestroyIcon(HICON icon);

// Binary resources (for example a skin archive linked into the executable), looked up
// by type and id.
void RegisterResource(LPCTSTR type, UINT id, const void* data, std::size_t size);
bool FindResourceData(LPCTSTR type, UINT id, const void** data, std::size_t* size);

// Tray icons. NIM_ADD fails for a (window, id) that is already present; the callback
// message arrives with wParam = id and lParam = the mouse message (WM_LBUTTONDOWN,
// WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP).
BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data);
// Whether the desktop offers a system tray right now. The answer is asked from the
// desktop once and then kept current by the desktop's own change notifications (the
// StatusNotifierWatcher service on the session bus) and a slow check every
// kTrayRecheckMs; every change is announced to all windows with UIMSG_TRAYCHANGED.
bool IsSystemTrayAvailable();
constexpr UINT kTrayRecheckMs = 10000;

// Native popup menus. The chosen item arrives as WM_COMMAND (wParam = item id) posted
// to the owner; with TPM_RETURNCMD the id is returned instead.
HMENU CreatePopupMenu();
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCTSTR text);
BOOL DestroyMenu(HMENU menu);
int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                   const RECT* ignored = nullptr);

}  // namespace UiLib
