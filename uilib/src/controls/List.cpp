#include "uilib/controls/List.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"

namespace UiLib {

CListUI::CListUI() {
    m_ListInfo.rcTextPadding = RECT{4, 0, 4, 0};
}

LPCTSTR CListUI::GetClass() const {
    return L"ListUI";
}

LPVOID CListUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"List")) return static_cast<CListUI*>(this);
    if (EqualsNoCase(pstrName, L"IListOwner")) return static_cast<IListOwnerUI*>(this);
    return CVerticalLayoutUI::GetInterface(pstrName);
}

UINT CListUI::GetControlFlags() const {
    return UIFLAG_TABSTOP;
}

bool CListUI::Add(CControlUI* pControl) {
    return AddAt(pControl, GetCount());
}

bool CListUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CVerticalLayoutUI::AddAt(pControl, iIndex)) return false;
    if (auto* item = static_cast<IListItemUI*>(pControl->GetInterface(L"ListItem")))
        item->SetOwner(this);
    const int at = GetItemIndex(pControl);
    if (m_iCurSel >= at) ++m_iCurSel;
    ReindexFrom(at);
    return true;
}

bool CListUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    return index >= 0 && RemoveAt(index);
}

bool CListUI::RemoveAt(int iIndex) {
    if (!CVerticalLayoutUI::RemoveAt(iIndex)) return false;
    if (iIndex == m_iCurSel) {
        m_iCurSel = -1;
    } else if (iIndex < m_iCurSel) {
        --m_iCurSel;
    }
    ReindexFrom(iIndex);
    return true;
}

void CListUI::RemoveAll() {
    m_iCurSel = -1;
    CVerticalLayoutUI::RemoveAll();
}

void CListUI::ReindexFrom(int iIndex) {
    for (int i = std::max(0, iIndex); i < GetCount(); ++i) {
        if (auto* item = static_cast<IListItemUI*>(GetItemAt(i)->GetInterface(L"ListItem")))
            item->SetIndex(i);
    }
}

bool CListUI::SelectItem(int iIndex, bool bTakeFocus) {
    if (iIndex == m_iCurSel) return true;
    const int old = m_iCurSel;
    if (old >= 0) {
        if (auto* item = static_cast<IListItemUI*>(
                GetItemAt(old) ? GetItemAt(old)->GetInterface(L"ListItem") : nullptr)) {
            item->Select(false);
        }
        m_iCurSel = -1;
    }
    if (iIndex < 0) return false;
    CControlUI* control = GetItemAt(iIndex);
    if (!control || !control->IsVisible() || !control->IsEnabled()) return false;
    auto* item = static_cast<IListItemUI*>(control->GetInterface(L"ListItem"));
    if (!item) return false;
    m_iCurSel = iIndex;
    if (!item->Select(true)) {
        m_iCurSel = -1;
        return false;
    }
    if (bTakeFocus) control->SetFocus();
    if (m_pManager)
        m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMSELECT, static_cast<WPARAM>(iIndex), old);
    return true;
}

void CListUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_KEYDOWN) {
        if (event.chKey == VK_UP && m_iCurSel > 0) {
            SelectItem(m_iCurSel - 1, true);
            return;
        }
        if (event.chKey == VK_DOWN && m_iCurSel + 1 < GetCount()) {
            SelectItem(m_iCurSel + 1, true);
            return;
        }
    }
    CVerticalLayoutUI::DoEvent(event);
}

void CListUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CVerticalLayoutUI::SetPos(rc, bNeedInvalidate);
}

void CListUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"itemfont") {
        m_ListInfo.nFont = ParseInt(pstrValue);
    } else if (name == L"itemtextcolor") {
        m_ListInfo.dwTextColor = ParseColor(pstrValue);
    } else if (name == L"itemhottextcolor") {
        m_ListInfo.dwHotTextColor = ParseColor(pstrValue);
    } else if (name == L"itemselectedtextcolor") {
        m_ListInfo.dwSelectedTextColor = ParseColor(pstrValue);
    } else if (name == L"itemdisabledtextcolor") {
        m_ListInfo.dwDisabledTextColor = ParseColor(pstrValue);
    } else if (name == L"itembkcolor") {
        m_ListInfo.dwBkColor = ParseColor(pstrValue);
    } else if (name == L"itemhotbkcolor") {
        m_ListInfo.dwHotBkColor = ParseColor(pstrValue);
    } else if (name == L"itemselectedbkcolor") {
        m_ListInfo.dwSelectedBkColor = ParseColor(pstrValue);
    } else if (name == L"itemlinecolor") {
        m_ListInfo.dwLineColor = ParseColor(pstrValue);
    } else if (name == L"itembkimage") {
        m_ListInfo.sBkImage = pstrValue;
    } else if (name == L"itemhotimage") {
        m_ListInfo.sHotImage = pstrValue;
    } else if (name == L"itemselectedimage") {
        m_ListInfo.sSelectedImage = pstrValue;
    } else if (name == L"itemtextpadding") {
        m_ListInfo.rcTextPadding = ParseRect(pstrValue);
    } else if (name == L"itemshowhtml") {
        m_ListInfo.bShowHtml = ParseBool(pstrValue);
    } else if (name == L"itemalign") {
        const std::wstring v = pstrValue ? pstrValue : L"";
        m_ListInfo.uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        if (v.find(L"center") != std::wstring::npos) m_ListInfo.uTextStyle |= DT_CENTER;
        if (v.find(L"right") != std::wstring::npos) m_ListInfo.uTextStyle |= DT_RIGHT;
    } else {
        CVerticalLayoutUI::SetAttribute(pstrName, pstrValue);
        return;
    }
    Invalidate();
}

}  // namespace UiLib
