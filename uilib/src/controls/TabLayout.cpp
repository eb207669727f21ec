#include <algorithm>
#include <cmath>

#include "uilib/controls/TabLayout.h"
#include "uilib/core/PaintManager.h"

namespace UiLib {

// ---- CTabLayoutUI ----

LPCTSTR CTabLayoutUI::GetClass() const {
    return L"TabLayoutUI";
}

LPVOID CTabLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"TabLayout")) return static_cast<CTabLayoutUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

bool CTabLayoutUI::Add(CControlUI* pControl) {
    return AddAt(pControl, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!CContainerUI::AddAt(pControl, iIndex)) return false;
    const int index = GetItemIndex(pControl);
    if (m_iCurSel >= 0 && index <= m_iCurSel) ++m_iCurSel;  // the selected page moved
    if (m_iCurSel < 0 && index >= m_iInitSel) {
        m_iCurSel = index;
        pControl->SetVisible(true);
    } else {
        pControl->SetVisible(false);
    }
    NeedUpdate();
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    if (index < 0) return false;
    if (!CContainerUI::RemoveAt(index)) return false;
    if (index == m_iCurSel) {
        m_iCurSel = -1;
        if (GetCount() > 0) {
            m_iCurSel = std::min(index, GetCount() - 1);
            GetItemAt(m_iCurSel)->SetVisible(true);
        }
    } else if (index < m_iCurSel) {
        --m_iCurSel;
    }
    NeedUpdate();
    return true;
}

void CTabLayoutUI::RemoveAll() {
    m_iCurSel = -1;
    m_iInitSel = 0;
    CContainerUI::RemoveAll();
}

int CTabLayoutUI::GetCurSel() const {
    return m_iCurSel;
}

bool CTabLayoutUI::SelectItem(int iIndex) {
    if (iIndex < 0 || iIndex >= GetCount()) return false;
    if (iIndex == m_iCurSel) return true;
    const int old = m_iCurSel;
    m_iCurSel = iIndex;
    for (int i = 0; i < GetCount(); ++i) GetItemAt(i)->SetVisible(i == iIndex);
    NeedUpdate();
    if (m_pManager) m_pManager->SendNotify(this, L"tabselect", static_cast<WPARAM>(iIndex), old);
    return true;
}

bool CTabLayoutUI::SelectItem(CControlUI* pControl) {
    return SelectItem(GetItemIndex(pControl));
}

void CTabLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CContainerUI::SetPos(rc, bNeedInvalidate);
}

void CTabLayoutUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (EqualsNoCase(pstrName, L"selectedid")) {
        const int sel = std::max(0, ParseInt(pstrValue));
        m_iInitSel = sel;
        if (GetCount() > 0) SelectItem(sel);
        return;
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace UiLib
