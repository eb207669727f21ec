#pragma once

// CListUI: a vertical list of selectable rows; CListContainerElementUI: one row that
// holds controls of its own. The popup menu of the client is built on them.

#include "uilib/controls/UILayout.h"

namespace UiLib {

class CListUI;

// Appearance of a list's rows.
struct TListInfoUI {
    int nFont = -1;
    UINT uTextStyle = DT_VCENTER | DT_SINGLELINE;
    RECT rcTextPadding;
    DWORD dwTextColor = 0xFF000000;
    DWORD dwBkColor = 0;
    DWORD dwSelectedTextColor = 0xFF000000;
    DWORD dwSelectedBkColor = 0xFFC1E3FF;
    DWORD dwHotTextColor = 0xFF000000;
    DWORD dwHotBkColor = 0xFFE9F5FF;
    DWORD dwDisabledTextColor = 0xFFCCCCCC;
    DWORD dwLineColor = 0;
    CDuiString sBkImage;
    CDuiString sHotImage;
    CDuiString sSelectedImage;
    bool bShowHtml = false;
};

class IListOwnerUI {
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    virtual bool SelectItem(int iIndex, bool bTakeFocus = false) = 0;
    virtual void DoEvent(TEventUI& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

class IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int iIndex) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* pOwner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool bSelect = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool bExpand = true) = 0;

protected:
    ~IListItemUI() = default;
};

class CListUI : public CVerticalLayoutUI, public IListOwnerUI {
public:
    CListUI();

    LPCTSTR GetClass() const override;
    LPVOID GetInterface(LPCTSTR pstrName) override;
    UINT GetControlFlags() const override;

    bool Add(CControlUI* pControl) override;
    bool AddAt(CControlUI* pControl, int iIndex) override;
    bool Remove(CControlUI* pControl) override;
    bool RemoveAt(int iIndex) override;
    void RemoveAll() override;
    using CContainerUI::Add;
    using CContainerUI::AddAt;

    TListInfoUI* GetListInfo() override { return &m_ListInfo; }
    int GetCurSel() const override { return m_iCurSel; }
    // Selects a row (sends "itemselect"); -1 clears the selection.
    bool SelectItem(int iIndex, bool bTakeFocus = false) override;
    void DoEvent(TEventUI& event) override;

    void SetItemFont(int index) { m_ListInfo.nFont = index; }
    void SetItemTextColor(DWORD c) { m_ListInfo.dwTextColor = c; }
    void SetItemHotTextColor(DWORD c) { m_ListInfo.dwHotTextColor = c; }
    void SetItemHotBkColor(DWORD c) { m_ListInfo.dwHotBkColor = c; }
    void SetItemSelectedBkColor(DWORD c) { m_ListInfo.dwSelectedBkColor = c; }
    void SetItemSelectedTextColor(DWORD c) { m_ListInfo.dwSelectedTextColor = c; }
    void SetItemTextPadding(RECT rc) { m_ListInfo.rcTextPadding = rc; }

    void SetPos(RECT rc, bool bNeedInvalidate = true) override;
    void SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) override;

protected:
    void ReindexFrom(int iIndex);

    TListInfoUI m_ListInfo;
    int m_iCurSel = -1;
};

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
