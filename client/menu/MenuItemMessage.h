#pragma once

// The message through which a chosen menu item reaches its window (1145): wParam
// carries a CDuiString with the item's name, allocated by the sender and released by
// the receiver after dispatch; lParam the item's checked state.

#include <memory>
#include <string>

#include "uilib/UiLib.h"

constexpr UiLib::UINT kMenuItemMessage = 1145;

// Posts the item message to `target`; the string is freed here when the post fails.
bool PostMenuItem(UiLib::HWND target, const std::wstring& name, bool checked);

// Takes ownership of the name carried by an item message (null for a null wParam).
std::unique_ptr<UiLib::CDuiString> TakeMenuItemName(UiLib::WPARAM wParam);
