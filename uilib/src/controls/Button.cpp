#include "uilib/controls/Button.h"
#include "uilib/core/PaintManager.h"

namespace UiLib {

CButtonUI::CButtonUI() {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
}

LPCTSTR CButtonUI::GetClass() const {
    return L"ButtonUI";
}

LPVOID CButtonUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Button")) return static_cast<CButtonUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

UINT CButtonUI::GetControlFlags() const {
    return IsEnabled() ? UIFLAG_TABSTOP : 0;
}

bool CButtonUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_CLICK);
    return true;
}

void CButtonUI::SetEnabled(bool bEnable) {
    CControlUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CButtonUI::DoEvent(TEventUI& event) {
    const bool mouse = event.Type > UIEVENT_MOUSEMOVE - 1 && event.Type <= UIEVENT_MOUSEHOVER;
    if (!IsMouseEnabled() && (mouse || event.Type == UIEVENT_BUTTONDOWN ||
                              event.Type == UIEVENT_BUTTONUP || event.Type == UIEVENT_DBLCLICK)) {
        if (m_pParent) m_pParent->DoEvent(event);
        return;
    }
    switch (event.Type) {
        case UIEVENT_SETFOCUS:
        case UIEVENT_KILLFOCUS:
            CLabelUI::DoEvent(event);
            return;
        case UIEVENT_KEYDOWN:
            if (event.chKey == VK_SPACE || event.chKey == VK_RETURN) {
                Activate();
                return;
            }
            break;
        case UIEVENT_BUTTONDOWN:
        case UIEVENT_DBLCLICK:
            if (PtInRect(m_rcItem, event.ptMouse) && IsEnabled()) {
                m_uButtonState |= UISTATE_PUSHED | UISTATE_CAPTURED;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSEMOVE:
            if (m_uButtonState & UISTATE_CAPTURED) {
                if (PtInRect(m_rcItem, event.ptMouse)) {
                    m_uButtonState |= UISTATE_PUSHED;
                } else {
                    m_uButtonState &= ~UISTATE_PUSHED;
                }
                Invalidate();
            }
            return;
        case UIEVENT_BUTTONUP:
            if (m_uButtonState & UISTATE_CAPTURED) {
                m_uButtonState &= ~(UISTATE_PUSHED | UISTATE_CAPTURED);
                Invalidate();
                if (PtInRect(m_rcItem, event.ptMouse)) Activate();
            }
            return;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                m_bHot = true;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            m_uButtonState &= ~UISTATE_HOT;
            m_bHot = false;
            Invalidate();
            return;
        default:
            break;
    }
    CLabelUI::DoEvent(event);
}

void CButtonUI::SetNormalImage(LPCTSTR pStrImage) {
    m_sNormalImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetHotImage(LPCTSTR pStrImage) {
    m_sHotImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetPushedImage(LPCTSTR pStrImage) {
    m_sPushedImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetFocusedImage(LPCTSTR pStrImage) {
    m_sFocusedImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetDisabledImage(LPCTSTR pStrImage) {
    m_sDisabledImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetForeImage(LPCTSTR pStrImage) {
    m_sForeImage = pStrImage;
    Invalidate();
}
void CButtonUI::SetPushedTextColor(DWORD dwColor) {
    m_dwPushedTextColor = dwColor;
    Invalidate();
}
void CButtonUI::SetFocusedTextColor(DWORD dwColor) {
    m_dwFocusedTextColor = dwColor;
    Invalidate();
}

void CButtonUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"normalimage") {
        SetNormalImage(pstrValue);
    } else if (name == L"hotimage") {
        SetHotImage(pstrValue);
    } else if (name == L"pushedimage") {
        SetPushedImage(pstrValue);
    } else if (name == L"focusedimage") {
        SetFocusedImage(pstrValue);
    } else if (name == L"disabledimage") {
        SetDisabledImage(pstrValue);
    } else if (name == L"foreimage") {
        SetForeImage(pstrValue);
    } else if (name == L"pushedtextcolor") {
        SetPushedTextColor(ParseColor(pstrValue));
    } else if (name == L"focusedtextcolor") {
        SetFocusedTextColor(ParseColor(pstrValue));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

DWORD CButtonUI::CurrentTextColor() const {
    if (IsEnabled()) {
        if ((m_uButtonState & UISTATE_PUSHED) && m_dwPushedTextColor != 0)
            return m_dwPushedTextColor;
        if ((m_uButtonState & UISTATE_HOT) && m_dwHotTextColor != 0) return m_dwHotTextColor;
        if (IsFocused() && m_dwFocusedTextColor != 0) return m_dwFocusedTextColor;
    }
    return CLabelUI::CurrentTextColor();
}

bool CButtonUI::HasFocusedLook() const {
    return !m_sFocusedImage.IsEmpty() || CLabelUI::HasFocusedLook();
}

void CButtonUI::PaintStatusImage(HDC hDC) {
    bool drawn = false;
    if (!IsEnabled()) {
        drawn = !m_sDisabledImage.IsEmpty() && DrawImage(hDC, m_sDisabledImage);
    } else if (m_uButtonState & UISTATE_PUSHED) {
        drawn = !m_sPushedImage.IsEmpty() && DrawImage(hDC, m_sPushedImage);
    } else if (m_uButtonState & UISTATE_HOT) {
        drawn = !m_sHotImage.IsEmpty() && DrawImage(hDC, m_sHotImage);
    } else if (IsFocused()) {
        drawn = !m_sFocusedImage.IsEmpty() && DrawImage(hDC, m_sFocusedImage);
    }
    if (!drawn && !m_sNormalImage.IsEmpty()) DrawImage(hDC, m_sNormalImage);
    if (!m_sForeImage.IsEmpty()) DrawImage(hDC, m_sForeImage);
}

}  // namespace UiLib
