#pragma once

// The main window's notification-area icon and its menu.

class CTrovik;

// Adds the icon (id 102, callback message 28, tip "Trovik") when the desktop offers a
// tray; false when it does not (the caller tries again on a later tick).
bool AddTrayIcon(CTrovik& wnd);

// Removes the icon again (nothing when it was never added).
void RemoveTrayIcon(CTrovik& wnd);

// Fills the menu's check map from the windows' visibility and opens the tray menu at
// the pointer.
void OpenMainTrayMenu(CTrovik& wnd, bool floatingVisible);
