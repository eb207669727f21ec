#include "uilib/controls/ListContainerElement.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"

namespace UiLib {

CListContainerElementUI::CListContainerElementUI() = default;

LPCTSTR CListContainerElementUI::GetClass() const {
    return L"ListContainerElementUI";
}

LPVOID CListContainerElementUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"ListItem")) return static_cast<IListItemUI*>(this);
    if (EqualsNoCase(pstrName, L"ListContainerElement"))
        return static_cast<CListContainerElementUI*>(this);
    return CContainerUI::GetInterface(pstrName);
}

UINT CListContainerElementUI::GetControlFlags() const {
    return UIFLAG_TABSTOP;
}

void CListContainerElementUI::SetOwner(CControlUI* pOwner) {
    m_pOwner = pOwner ? static_cast<IListOwnerUI*>(pOwner->GetInterface(L"IListOwner")) : nullptr;
}

bool CListContainerElementUI::Select(bool bSelect) {
    if (!IsEnabled() && bSelect) return false;
    if (bSelect == m_bSelected) return true;
    m_bSelected = bSelect;
    if (bSelect && m_pOwner) m_pOwner->SelectItem(m_iIndex);
    Invalidate();
    return true;
}

bool CListContainerElementUI::Activate() {
    if (!CContainerUI::Activate()) return false;
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMACTIVATE);
    return true;
}

void CListContainerElementUI::SetVisible(bool bVisible) {
    CContainerUI::SetVisible(bVisible);
    if (!IsVisible() && m_bSelected) {
        m_bSelected = false;
        if (m_pOwner) m_pOwner->SelectItem(-1);
    }
}

void CListContainerElementUI::SetEnabled(bool bEnable) {
    CContainerUI::SetEnabled(bEnable);
    if (!IsEnabled()) m_uButtonState = 0;
}

void CListContainerElementUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case UIEVENT_DBLCLICK:
            if (IsEnabled()) {
                Activate();
                Invalidate();
            }
            return;
        case UIEVENT_KEYDOWN:
            if (IsEnabled() && (event.chKey == VK_RETURN || event.chKey == VK_SPACE)) {
                Activate();
                Invalidate();
                return;
            }
            break;
        case UIEVENT_BUTTONDOWN:
            if (IsEnabled()) {
                Select();
                Invalidate();
            }
            return;
        case UIEVENT_BUTTONUP:
            if (IsEnabled() && m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_ITEMCLICK);
            return;
        case UIEVENT_MOUSEMOVE:
            return;
        case UIEVENT_MOUSEENTER:
            if (IsEnabled()) {
                m_uButtonState |= UISTATE_HOT;
                Invalidate();
            }
            return;
        case UIEVENT_MOUSELEAVE:
            if (m_uButtonState & UISTATE_HOT) {
                m_uButtonState &= ~UISTATE_HOT;
                Invalidate();
            }
            return;
        default:
            break;
    }
    if (m_pOwner) {
        m_pOwner->DoEvent(event);
    } else {
        CContainerUI::DoEvent(event);
    }
}

SIZE CListContainerElementUI::EstimateSize(SIZE szAvailable) {
    SIZE size = m_cxyFixed;
    if (size.cy == 0 && m_pManager) {
        const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
        const int font = info ? info->nFont : -1;
        size.cy = CRenderEngine::GetFontHeight(m_pManager, font) + 8;
    }
    return size;
}

void CListContainerElementUI::DrawItemBk(HDC hDC, const RECT& rcItem) {
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    if (!info) return;
    DWORD color = info->dwBkColor;
    const CDuiString* image = &info->sBkImage;
    if (m_bSelected) {
        color = info->dwSelectedBkColor;
        image = &info->sSelectedImage;
    } else if (m_uButtonState & UISTATE_HOT) {
        color = info->dwHotBkColor;
        image = &info->sHotImage;
    }
    if (color != 0) CRenderEngine::DrawColor(hDC, rcItem, color);
    if (!image->IsEmpty()) DrawImage(hDC, *image);
    if (info->dwLineColor != 0) {
        CRenderEngine::DrawColor(hDC,
                                 RECT{rcItem.left, rcItem.bottom - 1, rcItem.right, rcItem.bottom},
                                 info->dwLineColor);
    }
}

void CListContainerElementUI::DrawItemText(HDC hDC, const RECT& rcItem) {
    if (m_sText.IsEmpty()) return;
    const TListInfoUI* info = m_pOwner ? m_pOwner->GetListInfo() : nullptr;
    TListInfoUI fallback;
    if (!info) info = &fallback;
    DWORD color = info->dwTextColor;
    if (!IsEnabled()) {
        color = info->dwDisabledTextColor;
    } else if (m_bSelected) {
        color = info->dwSelectedTextColor;
    } else if (m_uButtonState & UISTATE_HOT) {
        color = info->dwHotTextColor;
    }
    RECT rc{rcItem.left + info->rcTextPadding.left, rcItem.top + info->rcTextPadding.top,
            rcItem.right - info->rcTextPadding.right, rcItem.bottom - info->rcTextPadding.bottom};
    if (info->bShowHtml) {
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, color, info->nFont,
                                    info->uTextStyle);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, color, info->nFont, info->uTextStyle);
    }
}

void CListContainerElementUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    RECT rcTemp;
    if (!IntersectRect(&rcTemp, rcPaint, m_rcItem)) return;
    m_rcPaint = rcTemp;
    DrawItemBk(hDC, m_rcItem);
    DrawItemText(hDC, m_rcItem);
    CContainerUI::DoPaint(hDC, rcPaint);
}

void CListContainerElementUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    if (EqualsNoCase(pstrName, L"selected")) {
        if (ParseBool(pstrValue)) Select(true);
        return;
    }
    CContainerUI::SetAttribute(pstrName, pstrValue);
}

}  // namespace UiLib
