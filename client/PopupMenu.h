#pragma once

// The skinned popup menu of the client ("Menu_Tray.xml": the tray menu, also the
// floating window's menu; client/menu/ builds it) and the message through which a
// chosen item reaches its window.

#include <memory>
#include <string>
#include <vector>

#include "client/menu/MenuObserver.h"
#include "uilib/UiLib.h"

// The process-wide check map that the tray menu is opened with.
MenuCheckMap& MenuCheckStates();

// The layout of the tray menu.
inline constexpr const wchar_t* kTrayMenuLayout = L"Menu_Tray.xml";

// Opens "Menu_Tray.xml" for `owner` at the screen point (x, y): alignment 1 puts the
// menu's bottom-right corner there, 0 its top-left corner. Chosen items are posted to
// the window of `manager`; `checks` holds the check marks. False when no menu could be
// shown.
bool OpenTrayMenu(UiLib::HWND owner, UiLib::CPaintManagerUI* manager, MenuCheckMap* checks,
                  int alignment, int x, int y);

// The tray menu as the tray icon (alignment 1) and the floating window (alignment 0)
// open it at the pointer: the check map is rebuilt first, "Menu_ShowHideMain" from
// whether `mainWindow` is shown, "Menu_ShowHideFloat" from ShowFloatingWindow.
bool OpenTrayMenuAtPointer(UiLib::HWND owner, UiLib::CPaintManagerUI* manager,
                           UiLib::HWND mainWindow, int alignment);

// Whether a window is on the screen: visible and not minimised.
bool IsWindowShown(UiLib::HWND hWnd);

// The windows of the open popups, in the order they opened.
std::vector<UiLib::HWND> OpenMenuWindows();
// Closes every open popup, as a click outside them does.
void CloseAllMenus();

// The item message (1145): wParam carries a CDuiString allocated by the sender with
// the item's name, which the receiver releases after dispatch; lParam the checked state.
constexpr UiLib::UINT kMenuItemMessage = 1145;

// Posts the item message to `target`; the string is freed here when the post fails.
bool PostMenuItem(UiLib::HWND target, const std::wstring& name, bool checked);

// Takes ownership of the name carried by an item message (null for a null wParam).
std::unique_ptr<UiLib::CDuiString> TakeMenuItemName(UiLib::WPARAM wParam);
