#pragma once

// Process-wide state of the main window that other threads and windows read: its
// handle (the search worker and the list download address their messages to it), the
// floating tool window's handle (the settings dialog shows or hides it) and whether
// the banner and waiting animations may advance.

#include "uilib/UiLib.h"

UiLib::HWND MainWindowHandle();
void SetMainWindowHandle(UiLib::HWND hwnd);

// The floating tool window; null while none exists.
UiLib::HWND FloatingWindowHandle();
void SetFloatingWindowHandle(UiLib::HWND hwnd);

// True at start; false while the pointer rests over the banner's text band.
bool AnimationEnabled();
void SetAnimationEnabled(bool enabled);
