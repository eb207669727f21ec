// The main window's tray icon and the tray menu it opens.

#include "client/mainwnd/TrovikTray.h"

#include <cwchar>

#include "client/frame/AppIcon.h"
#include "client/frame/TrayMenu.h"
#include "client/mainwnd/Trovik.h"

using namespace UiLib;

bool AddTrayIcon(CTrovik& wnd) {
    // The tray stands in for the Windows desktop shell: without one, the icon has to
    // wait until a tray appears.
    if (!IsSystemTrayAvailable()) return false;
    NOTIFYICONDATAW& icon = wnd.trayIcon;
    icon = NOTIFYICONDATAW{};
    icon.hWnd = wnd.GetHWND();
    icon.uID = kAppIconId;
    icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    icon.uCallbackMessage = UMSG_TRAY_CALLBACK;
    icon.hIcon = LoadIconW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCE(kAppIconId));
    std::swprintf(icon.szTip, sizeof icon.szTip / sizeof icon.szTip[0], L"%ls", L"Trovik");
    // Once the icon exists a repeated add fails without effect.
    Shell_NotifyIconW(NIM_ADD, &icon);
    DestroyIcon(icon.hIcon);
    return true;
}

void RemoveTrayIcon(CTrovik& wnd) {
    if (wnd.trayIcon.hWnd) Shell_NotifyIconW(NIM_DELETE, &wnd.trayIcon);
}

bool HasTrayIcon(const CTrovik& wnd) {
    return wnd.trayIcon.hWnd != nullptr && IsSystemTrayAvailable();
}

void HideMainWindow(CTrovik& wnd) {
    UiLib::ShowWindow(wnd.GetHWND(), HasTrayIcon(wnd) ? SW_HIDE : SW_MINIMIZE);
}

void OnTrayChanged(CTrovik& wnd, bool available) {
    if (available) {
        AddTrayIcon(wnd);
    } else if (!IsWindowVisible(wnd.GetHWND())) {
        UiLib::ShowWindow(wnd.GetHWND(), SW_SHOWMINNOACTIVE);
    }
}

void OpenMainTrayMenu(CTrovik& wnd) {
    SetForegroundWindow(wnd.GetHWND());
    OpenTrayMenuAtPointer(wnd.GetHWND(), &wnd.GetPaintManager(), wnd.GetHWND(), 1);
    // Lets the menu close properly when the focus moves elsewhere.
    PostMessageW(wnd.GetHWND(), WM_NULL, 0, 0);
}
