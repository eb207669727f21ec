#include "client/PopupMenu.h"

#include "client/core/ClientSettings.h"
#include "client/menu/MenuWnd.h"

using namespace UiLib;

MenuCheckMap& MenuCheckStates() {
    static MenuCheckMap checks;
    return checks;
}

bool OpenTrayMenu(HWND owner, CPaintManagerUI* manager, MenuCheckMap* checks, int alignment, int x,
                  int y) {
    auto menu = std::make_unique<CMenuWnd>(owner);
    if (!menu->Init(nullptr, kTrayMenuLayout, manager, checks, alignment, x, y)) return false;
    menu.release();  // the popup deletes itself when its window is gone
    return true;
}

bool OpenTrayMenuAtPointer(HWND owner, CPaintManagerUI* manager, HWND mainWindow, int alignment) {
    MenuCheckMap& checks = MenuCheckStates();
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

std::vector<HWND> OpenMenuWindows() {
    std::vector<HWND> windows;
    for (ReceiverImplBase* receiver : MenuObserver().Receivers()) {
        if (auto* menu = dynamic_cast<CMenuWnd*>(receiver); menu && menu->GetHWND())
            windows.push_back(menu->GetHWND());
    }
    return windows;
}

void CloseAllMenus() {
    MenuObserver().Broadcast(MenuCommand{MenuCommandType::CloseAll, nullptr});
}

bool PostMenuItem(HWND target, const std::wstring& name, bool checked) {
    auto text = std::make_unique<CDuiString>(name);
    if (!PostMessageW(target, kMenuItemMessage, reinterpret_cast<WPARAM>(text.get()),
                      checked ? 1 : 0)) {
        return false;  // nobody will receive it: the unique_ptr frees it
    }
    text.release();  // the receiver owns it now
    return true;
}

std::unique_ptr<CDuiString> TakeMenuItemName(WPARAM wParam) {
    return std::unique_ptr<CDuiString>(reinterpret_cast<CDuiString*>(wParam));
}
