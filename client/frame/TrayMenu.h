#pragma once

// The client's tray menu ("Menu_Tray.xml", built by the skinned popup menu of
// client/menu/): the tray icon and the floating window open it, and its items reach
// the main window as message 1145 (client/menu/MenuItemMessage.h).

#include "client/menu/MenuObserver.h"
#include "uilib/UiLib.h"

// The layout of the tray menu.
inline constexpr const wchar_t* kTrayMenuLayout = L"Menu_Tray.xml";

// Opens "Menu_Tray.xml" for `owner` at the screen point (x, y): alignment 1 puts the
// menu's bottom-right corner there, 0 its top-left corner. Chosen items are posted to
// the window of `manager`; `checks` holds the check marks. False when no menu could be
// shown.
bool OpenTrayMenu(UiLib::HWND owner, UiLib::CPaintManagerUI* manager, MenuCheckMap* checks,
                  int alignment, int x, int y);

// The tray menu as the tray icon (alignment 1) and the floating window (alignment 0)
// open it at the pointer: the process-wide check map (ClientProcess().menuChecks) is
// rebuilt first, "Menu_ShowHideMain" from whether `mainWindow` is shown,
// "Menu_ShowHideFloat" from ShowFloatingWindow.
bool OpenTrayMenuAtPointer(UiLib::HWND owner, UiLib::CPaintManagerUI* manager,
                           UiLib::HWND mainWindow, int alignment);

// Whether a window is on the screen: visible and not minimised.
bool IsWindowShown(UiLib::HWND hWnd);
