#pragma once

// The main window's notification-area icon, its menu, and where the window goes when
// it is put away: into the tray when the icon is there, else to the task bar.

class CTrovik;

// Adds the icon (id 102, callback message 28, tip "Trovik") when the desktop offers a
// tray; false when it does not (the window tries again when a tray appears, see
// UIMSG_TRAYCHANGED).
bool AddTrayIcon(CTrovik& wnd);

// Removes the icon again (nothing when it was never added).
void RemoveTrayIcon(CTrovik& wnd);

// Whether the icon sits in a tray now, as the way back to a hidden window.
bool HasTrayIcon(const CTrovik& wnd);

// Puts the main window away: hidden in the tray when its icon is there, else minimised
// to the task bar, where the user can find it again.
void HideMainWindow(CTrovik& wnd);

// The desktop's tray came (the icon is added) or went (a window hidden in it comes
// back minimised to the task bar).
void OnTrayChanged(CTrovik& wnd, bool available);

// Brings the main window to the front and opens the tray menu at the pointer, opening
// upwards and to the left (the check map is rebuilt first).
void OpenMainTrayMenu(CTrovik& wnd);
