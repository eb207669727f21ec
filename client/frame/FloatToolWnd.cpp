#include "client/frame/FloatToolWnd.h"

#include "client/core/ClientSettings.h"
#include "client/frame/ClientProcess.h"
#include "client/frame/TrayMenu.h"
#include "client/menu/MenuItemMessage.h"

using namespace UiLib;

namespace {

// WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU.
constexpr DWORD kFloatingStyle = 0x96C80000;

bool MonitorRect(HMONITOR monitor, RECT* rect) {
    MONITORINFO info;
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return false;
    *rect = info.rcMonitor;
    return true;
}

}  // namespace

LRESULT CFloatingToolWindow::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
                                                 BOOL& bHandled) {
    bHandled = FALSE;
    switch (uMsg) {
        case WM_LBUTTONDOWN:
            // Anywhere in the badge moves it, as its caption would.
            PostMessageW(WM_NCLBUTTONDOWN, HTCAPTION, 0);
            bHandled = TRUE;
            break;
        case WM_LBUTTONDBLCLK:
            if (const HWND main = ClientProcess().mainWindow.load()) {
                UiLib::ShowWindow(main, SW_SHOWNORMAL);
                SetForegroundWindow(main);
            }
            break;
        case WM_RBUTTONDOWN:
            OpenTrayMenuAtPointer(m_hWnd, &m_PaintManager, ClientProcess().mainWindow.load(), 0);
            bHandled = TRUE;
            break;
        case kMenuItemMessage:
            // The item is the main window's business; the name travels on with it.
            if (!UiLib::PostMessageW(ClientProcess().mainWindow.load(), uMsg, wParam, lParam)) {
                TakeMenuItemName(wParam);  // nobody will take it: freed here
            }
            break;
        default:
            break;
    }
    return 0;
}

LRESULT CFloatingToolWindow::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    // Only this window's own entry goes: a newer floating window keeps its handle.
    HWND self = m_hWnd;
    ClientProcess().floatingWindow.compare_exchange_strong(self, nullptr);
    bHandled = FALSE;
    return 0;
}

POINT FloatingWindowPosition(int posX, int posY, SIZE size, const RECT* screen, const RECT& primary,
                             bool* replaced) {
    const bool chosen = posX > 0 || posY > 0;
    const bool onScreen = screen && posX >= screen->left && posY >= screen->top &&
                          posX + size.cx <= screen->right && posY + size.cy <= screen->bottom;
    if (replaced) *replaced = !(chosen && onScreen);
    if (chosen && onScreen) return POINT{posX, posY};
    return POINT{primary.right - size.cx - kFloatingCornerGap, primary.top + kFloatingCornerGap};
}

std::unique_ptr<CFloatingToolWindow> CreateFloatingWindow() {
    auto wnd = std::make_unique<CFloatingToolWindow>();
    const HWND hwnd = wnd->Create(nullptr, kFloatingWindowTitle, kFloatingStyle,
                                  WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    if (!hwnd) return nullptr;

    ClientSettings& settings = ProcessClientSettings();
    const SIZE size = wnd->GetPaintManager().GetClientSize();
    RECT primary{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    MonitorRect(MonitorFromWindow(nullptr, MONITOR_DEFAULTTOPRIMARY), &primary);
    RECT screen{};
    const bool onAScreen = MonitorRect(
        MonitorFromPoint(POINT{settings.PosX, settings.PosY}, MONITOR_DEFAULTTONULL), &screen);
    bool replaced = false;
    const POINT at = FloatingWindowPosition(settings.PosX, settings.PosY, size,
                                            onAScreen ? &screen : nullptr, primary, &replaced);
    if (replaced) {
        settings.PosX = at.x;
        settings.PosY = at.y;
    }
    SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Without a tray the badge's menu is the way to every command.
    if (!settings.ShowFloatingWindow && !IsSystemTrayAvailable())
        settings.ShowFloatingWindow = true;
    UiLib::ShowWindow(hwnd, settings.ShowFloatingWindow ? SW_SHOWNORMAL : SW_HIDE);
    ClientProcess().floatingWindow.store(hwnd);
    return wnd;
}
