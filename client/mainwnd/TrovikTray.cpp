// The main window's tray icon and the tray menu it opens.

#include <cwchar>

#include "client/AppIcon.h"
#include "client/PopupMenu.h"
#include "client/mainwnd/Trovik.h"
#include "client/mainwnd/TrovikTray.h"

using namespace UiLib;

bool AddTrayIcon(CTrovik& wnd) {
    // The tray stands in for the Windows desktop shell: without one, the icon has to
    // wait for a later tick.
    if (!IsSystemTrayAvailable()) return false;
    NOTIFYICONDATAW& icon = wnd.trayIcon;
    icon = NOTIFYICONDATAW{};
    icon.hWnd = wnd.GetHWND();
    icon.uID = kAppIconId;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = UMSG_TRAY_CALLBACK;
    icon.hIcon = LoadIconW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCE(kAppIconId));
    std::swprintf(icon.szTip, sizeof icon.szTip / sizeof icon.szTip[0], L"%ls", L"Trovik");
    // Once the icon exists a repeated add fails without effect; after the desktop's
    // tray comes back, the add brings the icon back.
    Shell_NotifyIconW(NIM_ADD, &icon);
    DestroyIcon(icon.hIcon);
    return true;
}

void RemoveTrayIcon(CTrovik& wnd) {
    if (wnd.trayIcon.hWnd) Shell_NotifyIconW(NIM_DELETE, &wnd.trayIcon);
}

void OpenMainTrayMenu(CTrovik& wnd, bool floatingVisible) {
    MenuCheckMap& checks = MenuCheckStates();
    checks.clear();
    checks[L"Menu_ShowHideMain"] = IsWindowVisible(wnd.GetHWND()) != FALSE;
    checks[L"Menu_ShowHideFloat"] = floatingVisible;
    SetForegroundWindow(wnd.GetHWND());
    POINT cursor{};
    GetCursorPos(&cursor);
    OpenTrayMenu(wnd.GetHWND(), &wnd.GetPaintManager(), &checks, 1, cursor.x, cursor.y);
    // Lets the menu close properly when the focus moves elsewhere.
    PostMessageW(wnd.GetHWND(), WM_NULL, 0, 0);
}
