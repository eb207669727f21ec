#pragma once

// The client's icon (tray and window), linked into the executable.

#include "uilib/UiLib.h"

// Resource id under which the icon is registered and loaded.
constexpr UiLib::UINT kAppIconId = 102;

// Registers the icon with the framework (LoadIconW(instance, MAKEINTRESOURCE(kAppIconId))
// then finds it). Safe to call more than once.
void RegisterAppIcon();
