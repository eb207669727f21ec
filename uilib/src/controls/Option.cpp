#include "uilib/controls/Option.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"

namespace UiLib {

COptionUI::COptionUI() = default;

COptionUI::~COptionUI() {
    if (!m_sGroupName.IsEmpty() && m_pManager) m_pManager->RemoveOptionGroup(m_sGroupName, this);
}

LPCTSTR COptionUI::GetClass() const {
    return L"OptionUI";
}

LPVOID COptionUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Option")) return static_cast<COptionUI*>(this);
    return CButtonUI::GetInterface(pstrName);
}

namespace {
// Deselects the other options of the group without notifications (an option joining a
// window or a group while selected).
void DeselectOthers(CPaintManagerUI* manager, const CDuiString& group, COptionUI* self) {
    if (!manager || group.IsEmpty()) return;
    std::vector<CControlUI*>* members = manager->GetOptionGroup(group);
    if (!members) return;
    const std::vector<CControlUI*> copy = *members;
    for (CControlUI* c : copy) {
        if (c == self) continue;
        auto* option = static_cast<COptionUI*>(c->GetInterface(L"Option"));
        if (option && option->IsSelected()) option->Selected(false, false);
    }
}
}  // namespace

void COptionUI::SetManager(CPaintManagerUI* pManager, CControlUI* pParent, bool bInit) {
    if (m_pManager != pManager && m_pManager && !m_sGroupName.IsEmpty()) {
        m_pManager->RemoveOptionGroup(m_sGroupName, this);
    }
    const bool joining = pManager && pManager != m_pManager;
    CButtonUI::SetManager(pManager, pParent, bInit);
    if (joining && !m_sGroupName.IsEmpty()) {
        pManager->AddOptionGroup(m_sGroupName, this);
        if (m_bSelected) DeselectOthers(pManager, m_sGroupName, this);
    }
}

void COptionUI::SetGroup(LPCTSTR pStrGroupName) {
    const CDuiString group(pStrGroupName);
    if (group == m_sGroupName) return;
    if (m_pManager && !m_sGroupName.IsEmpty()) m_pManager->RemoveOptionGroup(m_sGroupName, this);
    m_sGroupName = group;
    if (m_pManager && !m_sGroupName.IsEmpty()) {
        m_pManager->AddOptionGroup(m_sGroupName, this);
        if (m_bSelected) DeselectOthers(m_pManager, m_sGroupName, this);
    }
}

void COptionUI::Selected(bool bSelected, bool bTriggerEvent) {
    if (m_bSelected == bSelected) return;
    m_bSelected = bSelected;
    if (m_bSelected) {
        m_uButtonState |= UISTATE_SELECTED;
    } else {
        m_uButtonState &= ~UISTATE_SELECTED;
    }
    if (m_pManager) {
        if (m_bSelected && !m_sGroupName.IsEmpty()) {
            if (std::vector<CControlUI*>* members = m_pManager->GetOptionGroup(m_sGroupName)) {
                const std::vector<CControlUI*> copy = *members;
                for (CControlUI* c : copy) {
                    if (c == this) continue;
                    auto* option = static_cast<COptionUI*>(c->GetInterface(L"Option"));
                    if (option) option->Selected(false, bTriggerEvent);
                }
            }
        }
        if (bTriggerEvent) m_pManager->SendNotify(this, DUI_MSGTYPE_SELECTCHANGED);
    }
    Invalidate();
}

bool COptionUI::Activate() {
    if (!CButtonUI::Activate()) return false;
    if (!m_sGroupName.IsEmpty()) {
        Selected(true);
    } else {
        Selected(!m_bSelected);
    }
    return true;
}

void COptionUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = m_bSelected ? UISTATE_SELECTED : 0;
}

void COptionUI::SetSelectedImage(LPCTSTR pStrImage) {
    m_sSelectedImage = pStrImage;
    Invalidate();
}
void COptionUI::SetSelectedHotImage(LPCTSTR pStrImage) {
    m_sSelectedHotImage = pStrImage;
    Invalidate();
}
void COptionUI::SetSelectedTextColor(DWORD dwTextColor) {
    m_dwSelectedTextColor = dwTextColor;
    Invalidate();
}
void COptionUI::SetSelectedBkColor(DWORD dwBkColor) {
    m_dwSelectedBkColor = dwBkColor;
    Invalidate();
}

SIZE COptionUI::EstimateSize(SIZE szAvailable) {
    return CButtonUI::EstimateSize(szAvailable);
}

void COptionUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"group") {
        SetGroup(pstrValue);
    } else if (name == L"selected") {
        Selected(ParseBool(pstrValue));
    } else if (name == L"selectedimage") {
        SetSelectedImage(pstrValue);
    } else if (name == L"selectedhotimage") {
        SetSelectedHotImage(pstrValue);
    } else if (name == L"selectedtextcolor") {
        SetSelectedTextColor(ParseColor(pstrValue));
    } else if (name == L"selectedbkcolor") {
        SetSelectedBkColor(ParseColor(pstrValue));
    } else {
        CButtonUI::SetAttribute(pstrName, pstrValue);
    }
}

DWORD COptionUI::CurrentTextColor() const {
    if (m_bSelected && m_dwSelectedTextColor != 0 && IsEnabled()) return m_dwSelectedTextColor;
    return CButtonUI::CurrentTextColor();
}

void COptionUI::PaintBkColor(HDC hDC) {
    if (m_bSelected && m_dwSelectedBkColor != 0) {
        CRenderEngine::DrawColor(hDC, m_rcItem, m_dwSelectedBkColor);
        return;
    }
    CButtonUI::PaintBkColor(hDC);
}

void COptionUI::PaintStatusImage(HDC hDC) {
    if (m_bSelected && IsEnabled()) {
        bool drawn = false;
        if ((m_uButtonState & UISTATE_HOT) && !m_sSelectedHotImage.IsEmpty()) {
            drawn = DrawImage(hDC, m_sSelectedHotImage);
        }
        if (!drawn && !m_sSelectedImage.IsEmpty()) drawn = DrawImage(hDC, m_sSelectedImage);
        if (drawn) {
            if (!m_sForeImage.IsEmpty()) DrawImage(hDC, m_sForeImage);
            return;
        }
    }
    CButtonUI::PaintStatusImage(hDC);
}

}  // namespace UiLib
