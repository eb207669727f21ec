// The main window's tray icon, the tray menu it opens, and where the window goes when
// it is put away: into the tray when the icon is there, else to the task bar.

#include <cwchar>

#include "client/frame/AppIcon.h"
#include "client/frame/TrayMenu.h"
#include "client/mainwnd/Trovik.h"

using namespace UiLib;

bool CTrovik::AddTrayIcon() {
    // The tray stands in for the Windows desktop shell: without one, the icon has to
    // wait until a tray appears.
    if (!IsSystemTrayAvailable()) return false;
    NOTIFYICONDATAW& icon = trayIcon_;
    icon = NOTIFYICONDATAW{};
    icon.hWnd = m_hWnd;
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

void CTrovik::RemoveTrayIcon() {
    if (trayIcon_.hWnd) Shell_NotifyIconW(NIM_DELETE, &trayIcon_);
}

bool CTrovik::HasTrayIcon() const {
    return trayIcon_.hWnd != nullptr && IsSystemTrayAvailable();
}

void CTrovik::HideMainWindow() {
    UiLib::ShowWindow(m_hWnd, HasTrayIcon() ? SW_HIDE : SW_MINIMIZE);
}

void CTrovik::OnTrayChanged(bool available) {
    if (available) {
        AddTrayIcon();
    } else if (!IsWindowVisible(m_hWnd)) {
        UiLib::ShowWindow(m_hWnd, SW_SHOWMINNOACTIVE);
    }
}

void CTrovik::OpenMainTrayMenu() {
    SetForegroundWindow(m_hWnd);
    OpenTrayMenuAtPointer(m_hWnd, &m_PaintManager, m_hWnd, 1);
    // Lets the menu close properly when the focus moves elsewhere.
    UiLib::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}
