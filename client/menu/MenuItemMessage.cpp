#include "client/menu/MenuItemMessage.h"

using namespace UiLib;

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
