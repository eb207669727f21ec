#pragma once

#include <QIcon>

#include "uilib/Win32Types.h"

namespace UiLib::detail {

// Removes every tray icon of a window (its window is going away).
void RemoveTrayIconsOf(HWND hWnd);
// The icon registered behind an HICON (null icon when unknown).
QIcon IconFromHandle(HICON icon);

}  // namespace UiLib::detail
