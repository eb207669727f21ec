#pragma once

// CListContainerElementUI: one row of a list that holds controls of its own.

#include "uilib/controls/List.h"

namespace UiLib {

class CListContainerElementUI : public CContainerUI, public IListItemUI {
public:
    CListContainerElementUI();

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    int GetIndex() const override { return m_iIndex; }
    void SetIndex(int iIndex) override { m_iIndex = iIndex; }
    IListOwnerUI* GetOwner() override { return m_pOwner; }
    void SetOwner(CControlUI* pOwner) override;
    bool IsSelected() const override { return m_bSelected; }
    bool Select(bool bSelect = true) override;
    bool IsExpanded() const override { return false; }
    bool Expand(bool = true) override { return false; }
    bool IsHot() const { return (m_uButtonState & UISTATE_HOT) != 0; }

    bool Activate() override;
    void SetVisible(bool bVisible = true) override;
    void SetEnabled(bool bEnable = true) override;
    void DoEvent(TEventUI& event) override;
    // Its selection shows the focus; an item focused without being selected gets a ring.
    bool HasFocusedLook() const override { return m_bSelected; }
    SIZE EstimateSize(SIZE szAvailable) override;
    void DoPaint(HDC hDC, const RECT& rcPaint) override;
    // Row background for the state (hot, selected) from the owner's list info.
    virtual void DrawItemBk(HDC hDC, const RECT& rcItem);
    // The row's own text, if it has one, in the owner's row style.
    virtual void DrawItemText(HDC hDC, const RECT& rcItem);
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    int m_iIndex = -1;
    bool m_bSelected = false;
    UINT m_uButtonState = 0;
    IListOwnerUI* m_pOwner = nullptr;
};

}  // namespace UiLib
