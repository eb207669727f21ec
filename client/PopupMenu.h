#pragma once

// The skinned popup menu (tray menu and the floating window's menu) and the message
// through which a chosen item reaches its window.
//
// Not built yet: OpenTrayMenu shows no menu; each call is recorded
// (client/mainwnd/PendingCalls.h). The check map and the item message are complete.

#include <map>
#include <memory>
#include <string>

#include "uilib/UiLib.h"

// Item name → checked. Owned by the code that opens the menu; a name without an entry
// reads as unchecked.
using MenuCheckMap = std::map<std::wstring, bool>;

// The process-wide check map that the tray menu is opened with.
MenuCheckMap& MenuCheckStates();

// Opens "Menu_Tray.xml" for `owner` at the screen point (x, y): alignment 1 puts the
// menu's bottom-right corner there, 0 its top-left corner. Chosen items are posted to
// the window of `manager`.
void OpenTrayMenu(UiLib::HWND owner, UiLib::CPaintManagerUI* manager, MenuCheckMap* checks,
                  int alignment, int x, int y);

// The item message (1145): wParam carries a CDuiString allocated by the sender with
// the item's name, which the receiver releases after dispatch; lParam the checked state.
constexpr UiLib::UINT kMenuItemMessage = 1145;

// Posts the item message to `target`; the string is freed here when the post fails.
bool PostMenuItem(UiLib::HWND target, const std::wstring& name, bool checked);

// Takes ownership of the name carried by an item message (null for a null wParam).
std::unique_ptr<UiLib::CDuiString> TakeMenuItemName(UiLib::WPARAM wParam);
