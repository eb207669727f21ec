// The question box and the native popup menu.

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <map>
#include <memory>

#include "uilib/Win32Api.h"
#include "uilib/src/Dispatch.h"
#include "uilib/src/Hooks.h"
#include "uilib/src/WindowHost.h"

namespace UiLib {

namespace {

detail::MessageBoxHook& BoxHook() {
    static detail::MessageBoxHook hook;
    return hook;
}

detail::MenuHook& PopupHook() {
    static detail::MenuHook hook;
    return hook;
}

struct MenuTable {
    std::map<std::uintptr_t, std::vector<detail::MenuItemInfo>> menus;
    std::uintptr_t next = 0x30000;
};

MenuTable& Menus() {
    static MenuTable t;
    return t;
}

}  // namespace

namespace detail {
void SetMessageBoxHook(MessageBoxHook hook) {
    BoxHook() = std::move(hook);
}
void SetMenuHook(MenuHook hook) {
    PopupHook() = std::move(hook);
}
}  // namespace detail

int MessageBoxW(HWND owner, LPCTSTR text, LPCTSTR caption, UINT type) {
    if (!detail::IsUiThread()) {
        int result = IDCANCEL;
        detail::RunOnUiBlocking([&] { result = MessageBoxW(owner, text, caption, type); });
        return result;
    }
    const std::wstring t = text ? text : L"";
    const std::wstring c = caption ? caption : L"";
    if (BoxHook()) return BoxHook()(owner, t, c, type);
    if (!QApplication::instance())
        return (type & 0x0F) == MB_YESNO ? IDNO : IDCANCEL;  // nobody to ask

    QMessageBox box(nullptr);
    box.setWindowTitle(QString::fromStdWString(c));
    box.setText(QString::fromStdWString(t));
    switch (type & 0xF0) {
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
    }
    const UINT buttons = type & 0x0F;
    if (buttons == MB_YESNO) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    } else if (buttons == MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    Qt::WindowFlags flags = box.windowFlags();
    if (type & MB_TOPMOST) flags |= Qt::WindowStaysOnTopHint;
    box.setWindowFlags(flags);
    // The owner stays disabled while the box is open, like a modal Win32 box.
    const BOOL ownerWasDisabled = owner ? EnableWindow(owner, FALSE) : TRUE;
    const int answer = box.exec();
    if (owner && !ownerWasDisabled) EnableWindow(owner, TRUE);
    switch (answer) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Ok:
            return IDOK;
        default:
            return buttons == MB_YESNO ? IDNO : IDCANCEL;
    }
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
    detail::MenuItemInfo item;
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
    if (it == Menus().menus.end()) return 0;
    const std::vector<detail::MenuItemInfo> items = it->second;
    UINT_PTR chosen = 0;
    if (PopupHook()) {
        chosen = PopupHook()(owner, items);
    } else if (QApplication::instance()) {
        QMenu qmenu;
        std::map<QAction*, UINT_PTR> ids;
        for (const auto& item : items) {
            if (item.flags & MF_SEPARATOR) {
                qmenu.addSeparator();
                continue;
            }
            QAction* action = qmenu.addAction(QString::fromStdWString(item.text));
            action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
            if (item.flags & MF_CHECKED) {
                action->setCheckable(true);
                action->setChecked(true);
            }
            ids[action] = item.id;
        }
        if (QAction* picked = qmenu.exec(QPoint(x, y))) chosen = ids[picked];
    }
    if (chosen == 0) return 0;
    if (flags & TPM_RETURNCMD) return static_cast<int>(chosen);
    PostMessageW(owner, WM_COMMAND, chosen, 0);
    return TRUE;
}

}  // namespace UiLib
