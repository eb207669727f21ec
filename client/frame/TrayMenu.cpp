#include "client/frame/TrayMenu.h"

#include <memory>

#include "client/core/ClientSettings.h"
#include "client/frame/ClientProcess.h"
#include "client/menu/MenuWnd.h"

using namespace UiLib;

bool OpenTrayMenu(HWND owner, CPaintManagerUI* manager, MenuCheckMap* checks, int alignment, int x,
                  int y) {
    auto menu = std::make_unique<CMenuWnd>(owner);
    if (!menu->Init(nullptr, kTrayMenuLayout, manager, checks, alignment, x, y)) return false;
    menu.release();  // the popup deletes itself when its window is gone
    return true;
}

bool OpenTrayMenuAtPointer(HWND owner, CPaintManagerUI* manager, HWND mainWindow, int alignment) {
    MenuCheckMap& checks = ClientProcess().menuChecks;
    checks.clear();
    checks[L"Menu_ShowHideMain"] = IsWindowShown(mainWindow);
    checks[L"Menu_ShowHideFloat"] = ProcessClientSettings().ShowFloatingWindow;
    POINT cursor{};
    GetCursorPos(&cursor);
    return OpenTrayMenu(owner, manager, &checks, alignment, cursor.x, cursor.y);
}

bool IsWindowShown(HWND hWnd) {
    return IsWindowVisible(hWnd) && !IsIconic(hWnd);
}
