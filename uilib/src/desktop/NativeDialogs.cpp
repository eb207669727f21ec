// The question box and the native popup menu.

#include <map>
#include <vector>

#include "uilib/core/Win32Api.h"
#include "uilib/src/Backend.h"
#include "uilib/src/dispatch/OnUiThread.h"
#include "uilib/src/window/WindowImpl.h"

namespace UiLib {

namespace {

struct MenuTable {
    std::map<std::uintptr_t, std::vector<backend::MenuItem>> menus;
    std::uintptr_t next = 0x30000;
};

MenuTable& Menus() {
    static MenuTable t;
    return t;
}

}  // namespace

int MessageBoxW(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    const UINT buttons = type & 0x0F;
    const int refused = buttons == MB_YESNO ? IDNO : IDCANCEL;
    return detail::OnUi<int>(
        [=]() -> int {
            backend::Backend* b = backend::CurrentBackend();
            if (!b) return refused;  // nobody to ask
            // The owner stays disabled while the box is open, like a modal Win32 box.
            const BOOL ownerWasDisabled = owner ? EnableWindow(owner, FALSE) : TRUE;
            const int answer = b->AskQuestion(detail::NativeOf(owner), text ? text : L"",
                                              caption ? caption : L"", type);
            if (owner && !ownerWasDisabled) EnableWindow(owner, TRUE);
            return answer;
        },
        IDCANCEL);
}

HMENU CreatePopupMenu() {
    auto& t = Menus();
    const std::uintptr_t id = t.next;
    t.next += 4;
    t.menus[id];
    return reinterpret_cast<HMENU>(id);
}

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR id, LPCTSTR text) {
    auto& t = Menus();
    const auto it = t.menus.find(reinterpret_cast<std::uintptr_t>(menu));
    if (it == t.menus.end()) return FALSE;
    backend::MenuItem item;
    item.id = (flags & MF_SEPARATOR) ? 0 : id;
    item.text = (text && !(flags & MF_SEPARATOR)) ? text : L"";
    item.flags = flags;
    it->second.push_back(std::move(item));
    return TRUE;
}

BOOL DestroyMenu(HMENU menu) {
    return Menus().menus.erase(reinterpret_cast<std::uintptr_t>(menu)) ? TRUE : FALSE;
}

int TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    const auto it = Menus().menus.find(reinterpret_cast<std::uintptr_t>(menu));
    backend::Backend* b = backend::CurrentBackend();
    if (it == Menus().menus.end() || !b) return 0;
    const std::vector<backend::MenuItem> items = it->second;
    const UINT_PTR chosen = b->ChooseFromMenu(detail::NativeOf(owner), items, POINT{x, y});
    if (chosen == 0) return 0;
    if (flags & TPM_RETURNCMD) return static_cast<int>(chosen);
    PostMessageW(owner, WM_COMMAND, chosen, 0);
    return TRUE;
}

}  // namespace UiLib
