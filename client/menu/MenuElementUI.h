#pragma once

// CMenuElementUI: one item of the skinned popup menu (layout tag "MenuElement"). Its
// own child "MenuElement"s form its sub-menu: they stay hidden inside the item and move
// into the sub-menu's popup while it is open.

#include <string>

#include "uilib/UiLib.h"

class CMenuWnd;

class CMenuElementUI : public UiLib::CListContainerElementUI {
public:
    CMenuElementUI();

    UiLib::LPCTSTR GetClass() const override;
    UiLib::LPVOID GetInterface(UiLib::LPCTSTR pstrName) override;

    // Child items join hidden: they are shown by the sub-menu.
    bool AddAt(UiLib::CControlUI* pControl, int iIndex) override;
    using UiLib::CContainerUI::Add;

    bool Activate() override;
    // A separator is no stop for Tab.
    UiLib::UINT GetControlFlags() const override;
    void DoEvent(UiLib::TEventUI& event) override;
    void DoPaint(UiLib::HDC hDC, const UiLib::RECT& rcPaint) override;
    // A menu item (a separator is no item), checkable when it carries a check mark.
    UiLib::AccessInfo DescribeForAccessibility() override;
    // Layout asks only for the height: items span the whole menu.
    UiLib::SIZE EstimateSize(UiLib::SIZE szAvailable) override;
    // The size the item needs: its text with the list's text padding and 20 pixels, at
    // least its fixed width; its fixed height.
    UiLib::SIZE ItemSize(UiLib::SIZE szAvailable);
    void SetAttribute(UiLib::LPCTSTR pstrName, UiLib::LPCTSTR pstrValue) override;

    bool HasSubItems() const;
    bool IsSeparator() const { return m_separator; }
    bool IsCheckItem() const { return m_checkItem; }
    // The checked state kept in the current check map under the item's name.
    bool IsChecked() const;
    void SetChecked(bool checked);
    const std::wstring& Icon() const { return m_icon; }
    bool DrawsExpandArrow() const { return m_expand; }
    UiLib::DWORD LineColor() const { return m_lineColor; }
    CMenuWnd* SubMenu() const { return m_subMenu; }

    // Opens the sub-menu (when the item has one and it is not open yet).
    void OpenSubMenu();
    // Called by the sub-menu's window when it has gone.
    void SubMenuClosed();

private:
    // The mouse came onto the item, or the Right key was pressed on it.
    void Enter();
    // The item was clicked or activated.
    void Choose();

    std::wstring m_icon;
    UiLib::SIZE m_iconSize{16, 16};
    bool m_checkItem = false;
    bool m_separator = false;
    bool m_expand = false;
    UiLib::DWORD m_lineColor = 0xFFB5B5B5;
    CMenuWnd* m_subMenu = nullptr;  // the open sub-menu; the window owns itself
};
