#pragma once

// Seams through which the test driver answers what would otherwise wait for a person:
// question boxes, native popup menus, the tray.

#include <functional>
#include <string>
#include <vector>

#include "uilib/Win32Types.h"

namespace UiLib::detail {

using MessageBoxHook = std::function<int(HWND owner, const std::wstring& text,
                                         const std::wstring& caption, UINT type)>;
// Replaces the question box (null restores it).
void SetMessageBoxHook(MessageBoxHook hook);

struct MenuItemInfo {
    UINT_PTR id = 0;
    std::wstring text;
    UINT flags = 0;
};
// Returns the chosen item id, or 0 for a dismissed menu.
using MenuHook = std::function<UINT_PTR(HWND owner, const std::vector<MenuItemInfo>& items)>;
void SetMenuHook(MenuHook hook);

// -1: ask the desktop; 0 / 1: answer no / yes.
void SetTrayAvailableOverride(int value);

struct TrayIconInfo {
    HWND hWnd = nullptr;
    UINT id = 0;
    UINT callbackMessage = 0;
    std::wstring tip;
    HICON icon = nullptr;
};
std::vector<TrayIconInfo> TrayIcons();
// Posts the icon's callback message as the desktop would for the mouse message.
bool SendTrayEvent(HWND hWnd, UINT id, UINT mouseMessage);

}  // namespace UiLib::detail
