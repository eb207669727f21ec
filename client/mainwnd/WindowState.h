#pragma once

// Process-wide state of the main window that other threads and windows read: its
// handle (the search worker and the list download address their messages to it) and
// whether the banner and waiting animations may advance.

#include "uilib/UiLib.h"

UiLib::HWND MainWindowHandle();
void SetMainWindowHandle(UiLib::HWND hwnd);

// True at start; false while the pointer rests over the banner's text band.
bool AnimationEnabled();
void SetAnimationEnabled(bool enabled);
