#include <algorithm>
#include <cmath>

#include "uilib/controls/UITabLayout.h"
#include "uilib/core/UIManager.h"

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

// ---- CAnimationTabLayoutUI ----

CAnimationTabLayoutUI::CAnimationTabLayoutUI() = default;

CAnimationTabLayoutUI::~CAnimationTabLayoutUI() {
    if (m_pManager && m_iFrame >= 0) m_pManager->KillTimer(this, kTimerId);
}

LPCTSTR CAnimationTabLayoutUI::GetClass() const {
    return L"AnimationTabLayoutUI";
}

LPVOID CAnimationTabLayoutUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"AnimationTabLayout"))
        return static_cast<CAnimationTabLayoutUI*>(this);
    return CTabLayoutUI::GetInterface(pstrName);
}

bool CAnimationTabLayoutUI::SelectItem(int iIndex) {
    const int old = m_iCurSel;
    if (!CTabLayoutUI::SelectItem(iIndex)) return false;
    if (old == iIndex || old < 0 || !m_pManager || !IsVisible()) return true;
    m_iDirection = iIndex > old ? 1 : -1;
    m_iFrame = 0;
    m_pManager->SetTimer(this, kTimerId, kFrameMs);
    NeedUpdate();
    return true;
}

void CAnimationTabLayoutUI::StopAnimation() {
    if (m_iFrame < 0) return;
    m_iFrame = -1;
    if (m_pManager) m_pManager->KillTimer(this, kTimerId);
    NeedUpdate();
}

void CAnimationTabLayoutUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CTabLayoutUI::SetPos(rc, bNeedInvalidate);
    if (m_iFrame < 0) return;
    CControlUI* page = GetItemAt(m_iCurSel);
    if (!page || page->IsFloat()) return;
    // Ease out: fast at first, settling into place.
    const double t = std::min(1.0, static_cast<double>(m_iFrame) / kFrames);
    const double remaining = std::pow(1.0 - t, 3.0);
    const int span = m_bVertical ? GetHeight() : GetWidth();
    const int offset = static_cast<int>(std::lround(remaining * span)) * m_iDirection;
    RECT r = page->GetPos();
    if (m_bVertical) {
        r.top += offset;
        r.bottom += offset;
    } else {
        r.left += offset;
        r.right += offset;
    }
    page->SetPos(r, false);
}

void CAnimationTabLayoutUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (EqualsNoCase(pstrName, L"animation_direction")) {
        m_bVertical = EqualsNoCase(pstrValue, L"vertical");
        return;
    }
    CTabLayoutUI::SetAttribute(pstrName, pstrValue);
}

void CAnimationTabLayoutUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_TIMER && event.wParam == kTimerId) {
        if (m_iFrame < 0) return;
        if (++m_iFrame >= kFrames) {
            StopAnimation();
        } else {
            NeedUpdate();
        }
        return;
    }
    CTabLayoutUI::DoEvent(event);
}

}  // namespace UiLib
