#include "uilib/controls/Label.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"

namespace UiLib {

namespace {
constexpr DWORD kDefaultTextColor = 0xFF000000;

UINT ApplyAlign(UINT style, LPCTSTR value) {
    const std::wstring v = value ? value : L"";
    if (v.find(L"left") != std::wstring::npos) style &= ~(DT_CENTER | DT_RIGHT);
    if (v.find(L"center") != std::wstring::npos)
        style = (style & ~(DT_CENTER | DT_RIGHT)) | DT_CENTER;
    if (v.find(L"right") != std::wstring::npos)
        style = (style & ~(DT_CENTER | DT_RIGHT)) | DT_RIGHT;
    return style;
}

UINT ApplyVAlign(UINT style, LPCTSTR value) {
    const std::wstring v = value ? value : L"";
    style &= ~(DT_VCENTER | DT_BOTTOM);
    if (v == L"vcenter" || v == L"center") style |= DT_VCENTER;
    if (v == L"bottom") style |= DT_BOTTOM;
    return style;
}
}  // namespace

CLabelUI::CLabelUI() : m_uTextStyle(DT_VCENTER | DT_SINGLELINE) {}

LPCTSTR CLabelUI::GetClass() const {
    return L"LabelUI";
}

LPVOID CLabelUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Label")) return static_cast<CLabelUI*>(this);
    return CControlUI::GetInterface(pstrName);
}

void CLabelUI::SetTextStyle(UINT uStyle) {
    m_uTextStyle = uStyle;
    Invalidate();
}

void CLabelUI::SetTextColor(DWORD dwTextColor) {
    m_dwTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetDisabledTextColor(DWORD dwTextColor) {
    m_dwDisabledTextColor = dwTextColor;
    Invalidate();
}

void CLabelUI::SetHotTextColor(DWORD dwColor) {
    m_dwHotTextColor = dwColor;
    Invalidate();
}

void CLabelUI::SetFont(int index) {
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc) {
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetShowHtml(bool bShowHtml) {
    if (m_bShowHtml == bShowHtml) return;
    m_bShowHtml = bShowHtml;
    Invalidate();
}

SIZE CLabelUI::EstimateSize(SIZE szAvailable) {
    return CControlUI::EstimateSize(szAvailable);
}

void CLabelUI::DoEvent(TEventUI& event) {
    if (m_dwHotTextColor != 0) {
        if (event.Type == UIEVENT_MOUSEENTER) {
            m_bHot = true;
            Invalidate();
            return;
        }
        if (event.Type == UIEVENT_MOUSELEAVE) {
            m_bHot = false;
            Invalidate();
            return;
        }
    }
    CControlUI::DoEvent(event);
}

void CLabelUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"align") {
        SetTextStyle(ApplyAlign(m_uTextStyle, pstrValue));
    } else if (name == L"valign") {
        SetTextStyle(ApplyVAlign(m_uTextStyle, pstrValue));
    } else if (name == L"endellipsis") {
        SetTextStyle(ParseBool(pstrValue) ? (m_uTextStyle | DT_END_ELLIPSIS)
                                          : (m_uTextStyle & ~DT_END_ELLIPSIS));
    } else if (name == L"wordbreak" || name == L"multiline") {
        SetTextStyle(ParseBool(pstrValue) ? ((m_uTextStyle | DT_WORDBREAK) & ~DT_SINGLELINE)
                                          : ((m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE));
    } else if (name == L"font") {
        SetFont(ParseInt(pstrValue));
    } else if (name == L"textcolor") {
        SetTextColor(ParseColor(pstrValue));
    } else if (name == L"disabledtextcolor") {
        SetDisabledTextColor(ParseColor(pstrValue));
    } else if (name == L"hottextcolor") {
        SetHotTextColor(ParseColor(pstrValue));
    } else if (name == L"textpadding") {
        SetTextPadding(ParseRect(pstrValue));
    } else if (name == L"showhtml") {
        SetShowHtml(ParseBool(pstrValue));
    } else {
        CControlUI::SetAttribute(pstrName, pstrValue);
    }
}

DWORD CLabelUI::CurrentTextColor() const {
    if (!IsEnabled() && m_dwDisabledTextColor != 0) return m_dwDisabledTextColor;
    if (m_bHot && m_dwHotTextColor != 0) return m_dwHotTextColor;
    return m_dwTextColor != 0 ? m_dwTextColor : kDefaultTextColor;
}

void CLabelUI::PaintText(HDC hDC) {
    if (m_sText.IsEmpty()) return;
    RECT rc{m_rcItem.left + m_rcTextPadding.left, m_rcItem.top + m_rcTextPadding.top,
            m_rcItem.right - m_rcTextPadding.right, m_rcItem.bottom - m_rcTextPadding.bottom};
    if (m_bShowHtml) {
        CRenderEngine::DrawHtmlText(hDC, m_pManager, rc, m_sText, CurrentTextColor(), m_iFont,
                                    m_uTextStyle);
    } else {
        CRenderEngine::DrawText(hDC, m_pManager, rc, m_sText, CurrentTextColor(), m_iFont,
                                m_uTextStyle);
    }
}

}  // namespace UiLib
