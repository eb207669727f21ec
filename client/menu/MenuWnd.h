#pragma once

// CMenuWnd: one popup of the skinned menu, a top-level menu built from a layout of
// the skin or the sub-menu of an item. Allocate it for its owner and call Init; from
// then on it lives as long as its window and deletes itself when the window has gone.

#include <string>
#include <vector>

#include "client/menu/MenuObserver.h"
#include "uilib/UiLib.h"

class CMenuElementUI;
class CMenuUI;

class CMenuWnd : public UiLib::CWindowWnd,
                 public ReceiverImpl,
                 public UiLib::INotifyUI,
                 public UiLib::IDialogBuilderCallback {
public:
    explicit CMenuWnd(UiLib::HWND owner);
    ~CMenuWnd() override;

    // Opens the popup. A top-level menu (`parentItem` null) is built from the layout
    // `xml` and placed at the screen point (x, y): alignment 1 puts its bottom-right
    // corner there (it opens up and to the left), 0 its top-left corner; it is pushed
    // back inside the screen. A given `clickTarget` becomes the window that receives
    // the chosen items (message 1145), a given `checks` the check map the items read.
    // A sub-menu shows the child items of `parentItem` beside the item's menu. False
    // when no window could be made (the caller still owns the object then).
    bool Init(CMenuElementUI* parentItem, const std::wstring& xml,
              UiLib::CPaintManagerUI* clickTarget, MenuCheckMap* checks, int alignment, int x,
              int y);

    UiLib::LPCTSTR GetWindowClassName() const override { return L"MenuWnd"; }
    UiLib::LRESULT HandleMessage(UiLib::UINT uMsg, UiLib::WPARAM wParam,
                                 UiLib::LPARAM lParam) override;
    void Receive(const MenuCommand& command) override;
    void Notify(UiLib::TNotifyUI& msg) override;
    // "Menu" and "MenuElement" of the layout; every other tag is the framework's.
    UiLib::CControlUI* CreateControl(UiLib::LPCTSTR pstrClass) override;

    UiLib::CPaintManagerUI& GetPaintManager() { return m_pm; }
    CMenuUI* GetMenu() const { return m_menu; }
    CMenuElementUI* GetParentItem() const { return m_parentItem; }

protected:
    void OnFinalMessage(UiLib::HWND hWnd) override;

private:
    void BuildTopLevel();
    void BuildSubMenu();
    // Whether `window` is this popup's owner, its owner's owner, ...
    bool HasAncestor(UiLib::HWND window) const;
    // Closes at once every open popup that has this one among its ancestors.
    void DestroySubMenus();

    UiLib::HWND m_owner;
    UiLib::POINT m_point;
    int m_alignment = 0;
    std::wstring m_xml;
    CMenuElementUI* m_parentItem = nullptr;
    UiLib::CPaintManagerUI m_pm;
    CMenuUI* m_menu = nullptr;  // the root list, owned by m_pm
};

// The open popup whose window holds the screen point, or null.
UiLib::HWND MenuWindowAt(UiLib::POINT screen);

// The windows of the open popups, in the order they opened.
std::vector<UiLib::HWND> OpenMenuWindows();

// Closes every open popup, as a click outside them does.
void CloseAllMenus();
