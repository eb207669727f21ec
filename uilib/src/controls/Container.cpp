#include <algorithm>

#include "uilib/core/Container.h"
#include "uilib/core/PaintManager.h"
#include "uilib/src/Backend.h"

namespace UiLib {

namespace {

CControlUI* FindByName(CControlUI* control, LPVOID data) {
    return control->GetName() == static_cast<LPCTSTR>(data) ? control : nullptr;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    if (m_bAutoDestroy) {
        for (CControlUI* item : items) delete item;
    }
}

LPCTSTR CContainerUI::GetClass() const {
    return L"ContainerUI";
}

LPVOID CContainerUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"IContainer")) return static_cast<IContainerUI*>(this);
    if (EqualsNoCase(pstrName, L"Container")) return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

CControlUI* CContainerUI::GetItemAt(int iIndex) const {
    if (iIndex < 0 || iIndex >= static_cast<int>(m_items.size())) return nullptr;
    return m_items[static_cast<size_t>(iIndex)];
}

int CContainerUI::GetItemIndex(CControlUI* pControl) const {
    const auto it = std::find(m_items.begin(), m_items.end(), pControl);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* pControl, int iIndex) {
    const int from = GetItemIndex(pControl);
    if (from < 0 || iIndex < 0 || iIndex >= GetCount()) return false;
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + iIndex, pControl);
    NeedUpdate();
    return true;
}

int CContainerUI::GetCount() const {
    return static_cast<int>(m_items.size());
}

bool CContainerUI::Add(CControlUI* pControl) {
    return AddAt(pControl, GetCount());
}

bool CContainerUI::AddAt(CControlUI* pControl, int iIndex) {
    if (!pControl || pControl == this || GetItemIndex(pControl) >= 0) return false;
    if (iIndex < 0 || iIndex > GetCount()) iIndex = GetCount();
    m_items.insert(m_items.begin() + iIndex, pControl);
    if (m_pManager) {
        m_pManager->InitControls(pControl, this);
    } else {
        pControl->SetManager(nullptr, this, false);
    }
    pControl->SetInternVisible(IsVisible());
    NeedUpdate();
    return true;
}

void CContainerUI::ReleaseChild(CControlUI* pControl) {
    if (m_pManager) m_pManager->ReapObjects(pControl);
    CPaintManagerUI* manager = m_pManager;
    pControl->SetManager(nullptr, nullptr, false);
    if (!m_bAutoDestroy) return;
    if (m_bDelayedDestroy && manager) {
        manager->AddDelayedCleanup(pControl);
    } else {
        delete pControl;
    }
}

bool CContainerUI::Remove(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    if (index < 0) return false;
    return CContainerUI::RemoveAt(index);
}

bool CContainerUI::RemoveAt(int iIndex) {
    CControlUI* control = GetItemAt(iIndex);
    if (!control) return false;
    m_items.erase(m_items.begin() + iIndex);
    ReleaseChild(control);
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items) ReleaseChild(item);
    m_iScrollOffset = 0;
    NeedUpdate();
}

CControlUI* CContainerUI::Detach(CControlUI* pControl) {
    const int index = GetItemIndex(pControl);
    if (index < 0) return nullptr;
    m_items.erase(m_items.begin() + index);
    if (m_pManager) m_pManager->ReapObjects(pControl);
    pControl->SetManager(nullptr, nullptr, false);
    NeedUpdate();
    return pControl;
}

void CContainerUI::SetInset(RECT rcInset) {
    m_rcInset = rcInset;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int iPadding) {
    m_iChildPadding = iPadding;
    NeedUpdate();
}

void CContainerUI::SetVisible(bool bVisible) {
    if (m_bVisible == bVisible) return;
    CControlUI::SetVisible(bVisible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool bVisible) {
    CControlUI::SetInternVisible(bVisible);
    for (CControlUI* item : m_items) item->SetInternVisible(IsVisible());
}

void CContainerUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
}

void CContainerUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    for (CControlUI* item : m_items) item->SetManager(pManager, this, bInit);
    CControlUI::SetManager(pManager, pParent, bInit);
}

void CContainerUI::SetFloatPos(int iIndex) {
    CControlUI* control = GetItemAt(iIndex);
    if (!control) return;
    const SIZE xy = control->GetFixedXY();
    RECT rc{m_rcItem.left + xy.cx, m_rcItem.top + xy.cy, 0, 0};
    rc.right = rc.left + std::max(0, control->GetFixedWidth());
    rc.bottom = rc.top + std::max(0, control->GetFixedHeight());
    control->SetPos(rc, false);
}

void CContainerUI::SetPos(RECT rc, bool bNeedInvalidate) {
    CControlUI::SetPos(rc, bNeedInvalidate);
    if (m_items.empty()) return;
    RECT inner{rc.left + m_rcInset.left, rc.top + m_rcInset.top, rc.right - m_rcInset.right,
               rc.bottom - m_rcInset.bottom};
    for (int i = 0; i < GetCount(); ++i) {
        CControlUI* control = m_items[static_cast<size_t>(i)];
        if (!control->IsVisible()) continue;
        if (control->IsFloat()) {
            SetFloatPos(i);
            continue;
        }
        const RECT pad = control->GetPadding();
        RECT r{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right,
               inner.bottom - pad.bottom};
        const SIZE want = control->EstimateSize(SIZE{r.right - r.left, r.bottom - r.top});
        int w = want.cx > 0 ? want.cx : r.right - r.left;
        int h = want.cy > 0 ? want.cy : r.bottom - r.top;
        w = std::clamp(w, control->GetMinWidth(),
                       std::max(control->GetMinWidth(), control->GetMaxWidth()));
        h = std::clamp(h, control->GetMinHeight(),
                       std::max(control->GetMinHeight(), control->GetMaxHeight()));
        control->SetPos(RECT{r.left, r.top, r.left + w, r.top + h}, false);
    }
}

void CContainerUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"inset") {
        SetInset(ParseRect(pstrValue));
    } else if (name == L"childpadding") {
        SetChildPadding(ParseInt(pstrValue));
    } else if (name == L"mousechild") {
        SetMouseChildEnabled(ParseBool(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (event.Type == UIEVENT_SCROLLWHEEL && m_iScrollRange > 0) {
        const int delta = GET_WHEEL_DELTA_WPARAM(event.wParam);
        SetScrollOffset(m_iScrollOffset - delta / 4);
        return;
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::SetScrollOffset(int offset) {
    offset = std::clamp(offset, 0, std::max(0, m_iScrollRange));
    if (offset == m_iScrollOffset) return;
    m_iScrollOffset = offset;
    NeedUpdate();
}

void CContainerUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    RECT rcTemp;
    if (!IntersectRect(&rcTemp, rcPaint, m_rcItem)) return;
    CControlUI::DoPaint(hDC, rcPaint);
    if (!m_items.empty()) {
        if (hDC) hDC->PushClip(rcTemp);
        for (CControlUI* control : m_items) {
            if (!control->IsVisible()) continue;
            RECT rcChild;
            if (!IntersectRect(&rcChild, rcTemp, control->GetPos())) continue;
            control->DoPaint(hDC, rcTemp);
        }
        if (hDC) hDC->PopClip();
    }
    PaintFocusRingIfFocused(hDC);
}

CControlUI* CContainerUI::FindControl(FINDCONTROLPROC Proc, LPVOID pData, UINT uFlags) {
    if ((uFlags & UIFIND_VISIBLE) != 0 && !IsVisible()) return nullptr;
    if ((uFlags & UIFIND_ENABLED) != 0 && !IsEnabled()) return nullptr;
    if ((uFlags & UIFIND_HITTEST) != 0) {
        if (!PtInRect(m_rcItem, *static_cast<const POINT*>(pData))) return nullptr;
        if (!m_bMouseChildEnabled) {
            return m_bMouseEnabled ? Proc(this, pData) : nullptr;
        }
    }
    if ((uFlags & UIFIND_ME_FIRST) != 0) {
        const bool mine = !((uFlags & UIFIND_HITTEST) != 0 && !m_bMouseEnabled);
        if (mine) {
            if (CControlUI* found = Proc(this, pData)) return found;
        }
    }
    if ((uFlags & UIFIND_TOP_FIRST) != 0) {
        for (int i = GetCount() - 1; i >= 0; --i) {
            if (CControlUI* found =
                    m_items[static_cast<size_t>(i)]->FindControl(Proc, pData, uFlags)) {
                return found;
            }
        }
    } else {
        for (CControlUI* item : m_items) {
            if (CControlUI* found = item->FindControl(Proc, pData, uFlags)) return found;
        }
    }
    if ((uFlags & UIFIND_ME_FIRST) != 0) return nullptr;
    if ((uFlags & UIFIND_HITTEST) != 0 && !m_bMouseEnabled) return nullptr;
    return Proc(this, pData);
}

CControlUI* CContainerUI::FindSubControl(LPCTSTR pstrSubControlName) {
    if (!pstrSubControlName) return nullptr;
    for (CControlUI* item : m_items) {
        if (CControlUI* found =
                item->FindControl(FindByName, const_cast<wchar_t*>(pstrSubControlName),
                                  UIFIND_ALL | UIFIND_ME_FIRST)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace UiLib
