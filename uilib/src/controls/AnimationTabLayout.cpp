#include "uilib/controls/AnimationTabLayout.h"
#include <algorithm>
#include <cmath>
#include "uilib/core/PaintManager.h"

namespace UiLib {

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
