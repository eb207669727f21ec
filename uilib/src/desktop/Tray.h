#pragma once

// The tray icons of the program's windows, kept by (window, id), and the tray's
// availability; the icons themselves are the backend's.

#include <string>
#include <vector>

#include "uilib/core/Win32Types.h"

namespace UiLib::detail {

struct TrayIconInfo {
    HWND hWnd = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    std::wstring tip;
    HICON icon = nullptr;
};

// Every icon, in (window, id) order.
std::vector<TrayIconInfo> TrayIcons();
// Posts the icon's callback message as the desktop would for the mouse message.
bool SendTrayEvent(HWND hWnd, UINT id, UINT mouseMessage);
// Removes every tray icon of a window (its window is going away).
void RemoveTrayIconsOf(HWND hWnd);

}  // namespace UiLib::detail
