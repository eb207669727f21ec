#include <algorithm>

#include "uilib/controls/Progress.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"

namespace UiLib {

CProgressUI::CProgressUI() {
    m_uTextStyle = DT_SINGLELINE | DT_VCENTER | DT_CENTER;
    m_dwForeColor = 0xFF3399CC;
}

LPCTSTR CProgressUI::GetClass() const {
    return L"ProgressUI";
}

LPVOID CProgressUI::GetInterface(LPCTSTR pstrName) {
    if (EqualsNoCase(pstrName, L"Progress")) return static_cast<CProgressUI*>(this);
    return CLabelUI::GetInterface(pstrName);
}

void CProgressUI::SetMinValue(int nMin) {
    m_nMin = nMin;
    Invalidate();
}

void CProgressUI::SetMaxValue(int nMax) {
    m_nMax = nMax;
    Invalidate();
}

int CProgressUI::GetValue() const {
    return m_nValue;
}

void CProgressUI::SetValue(int nValue) {
    RunOnUiThread([this, nValue] { ApplyValue(nValue); });
}

void CProgressUI::ApplyValue(int nValue) {
    const int lo = std::min(m_nMin, m_nMax);
    const int hi = std::max(m_nMin, m_nMax);
    nValue = std::clamp(nValue, lo, hi);
    if (nValue == m_nValue) return;
    m_nValue = nValue;
    Invalidate();
    if (m_pManager) m_pManager->SendNotify(this, DUI_MSGTYPE_VALUECHANGED);
}

void CProgressUI::SetForeImage(LPCTSTR pStrImage) {
    m_sForeImage = pStrImage;
    Invalidate();
}

void CProgressUI::SetForeColor(DWORD dwColor) {
    m_dwForeColor = dwColor;
    Invalidate();
}

void CProgressUI::SetAttribute(LPCTSTR pstrName, LPCTSTR pstrValue) {
    const std::wstring_view name = pstrName ? pstrName : L"";
    if (name == L"foreimage") {
        SetForeImage(pstrValue);
    } else if (name == L"forecolor") {
        SetForeColor(ParseColor(pstrValue));
    } else if (name == L"min") {
        SetMinValue(ParseInt(pstrValue));
    } else if (name == L"max") {
        SetMaxValue(ParseInt(pstrValue));
    } else if (name == L"value") {
        ApplyValue(ParseInt(pstrValue));
    } else {
        CLabelUI::SetAttribute(pstrName, pstrValue);
    }
}

void CProgressUI::PaintStatusImage(HDC hDC) {
    if (m_nMax <= m_nMin) return;
    const int width = m_rcItem.right - m_rcItem.left;
    const int height = m_rcItem.bottom - m_rcItem.top;
    const int filled =
        static_cast<int>(static_cast<long long>(width) * (m_nValue - m_nMin) / (m_nMax - m_nMin));
    if (filled <= 0) return;
    if (!m_sForeImage.IsEmpty()) {
        // The image keeps its scale: the filled part shows the matching part of it.
        const SIZE img = CRenderEngine::GetImageSize(m_pManager, m_sForeImage);
        if (img.cx > 0 && img.cy > 0) {
            const int srcWidth =
                std::max(1, static_cast<int>(static_cast<long long>(img.cx) * filled / width));
            CDuiString modify;
            modify.Format(L"dest='0,0,%d,%d' source='0,0,%d,%d'", filled, height, srcWidth, img.cy);
            if (DrawImage(hDC, m_sForeImage, modify)) return;
        }
    }
    if (m_dwForeColor != 0) {
        CRenderEngine::DrawColor(
            hDC, RECT{m_rcItem.left, m_rcItem.top, m_rcItem.left + filled, m_rcItem.bottom},
            m_dwForeColor);
    }
}

}  // namespace UiLib
