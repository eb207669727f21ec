#pragma once

// CListUI: a vertical list of selectable rows (CListContainerElementUI), and the
// interfaces between a list and its rows. The popup menu of the client is built on them.

#include "uilib/controls/VerticalLayout.h"

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
    // The selected item shows where the keys act; a list without one gets a ring.
    bool HasFocusedLook() const override { return m_iCurSel >= 0; }

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

}  // namespace UiLib
