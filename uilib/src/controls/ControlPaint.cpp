// The painting of every control: background colour and image, state images, text and
// border, in that order.

#include <algorithm>

#include "uilib/core/Control.h"
#include "uilib/core/RenderEngine.h"

namespace UiLib {

void CControlUI::DoPaint(HDC hDC, const RECT& rcPaint) {
    if (!IntersectRect(&m_rcPaint, rcPaint, m_rcItem)) return;
    PaintBkColor(hDC);
    PaintBkImage(hDC);
    PaintStatusImage(hDC);
    PaintText(hDC);
    PaintBorder(hDC);
    // A container draws its ring over its children, once they are painted.
    if (!GetInterface(L"Container")) PaintFocusRingIfFocused(hDC);
}

void CControlUI::PaintFocusRingIfFocused(HDC hDC) {
    if (m_bFocused && (GetControlFlags() & UIFLAG_TABSTOP) && !HasFocusedLook()) {
        PaintFocusRing(hDC);
    }
}

bool CControlUI::HasFocusedLook() const {
    return m_dwFocusBorderColor != 0 &&
           (m_nBorderSize > 0 || m_rcBorderSize.left > 0 || m_rcBorderSize.top > 0 ||
            m_rcBorderSize.right > 0 || m_rcBorderSize.bottom > 0);
}

void CControlUI::PaintFocusRing(HDC hDC) {
    constexpr DWORD kRingColor = 0xFF168A9A;
    constexpr DWORD kInnerColor = 0xFFFFFFFF;
    constexpr int kRingWidth = 2;
    const RECT& rc = m_rcItem;
    if (rc.right - rc.left <= 2 * (kRingWidth + 1) || rc.bottom - rc.top <= 2 * (kRingWidth + 1))
        return;
    const RECT inner{rc.left + kRingWidth, rc.top + kRingWidth, rc.right - kRingWidth,
                     rc.bottom - kRingWidth};
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderEngine::DrawRoundRect(hDC, rc, kRingWidth, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
                                     kRingColor);
        CRenderEngine::DrawRoundRect(hDC, inner, 1, std::max(0, m_cxyBorderRound.cx - kRingWidth),
                                     std::max(0, m_cxyBorderRound.cy - kRingWidth), kInnerColor);
    } else {
        CRenderEngine::DrawRect(hDC, rc, kRingWidth, kRingColor);
        CRenderEngine::DrawRect(hDC, inner, 1, kInnerColor);
    }
}

void CControlUI::PaintBkColor(HDC hDC) {
    if (m_dwBackColor == 0) return;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderEngine::FillRoundRect(hDC, m_rcItem, m_cxyBorderRound.cx, m_cxyBorderRound.cy,
                                     m_dwBackColor);
    } else {
        CRenderEngine::DrawColor(hDC, m_rcItem, m_dwBackColor);
    }
}

void CControlUI::PaintBkImage(HDC hDC) {
    if (!m_sBkImage.IsEmpty()) DrawImage(hDC, m_sBkImage);
}

void CControlUI::PaintStatusImage(HDC) {}
void CControlUI::PaintText(HDC) {}

void CControlUI::PaintBorder(HDC hDC) {
    const DWORD color =
        (m_bFocused && m_dwFocusBorderColor != 0) ? m_dwFocusBorderColor : m_dwBorderColor;
    if (color == 0) return;
    const RECT& rc = m_rcItem;
    if (m_rcBorderSize.left > 0 || m_rcBorderSize.top > 0 || m_rcBorderSize.right > 0 ||
        m_rcBorderSize.bottom > 0) {
        if (m_rcBorderSize.left > 0) {
            CRenderEngine::DrawColor(
                hDC, RECT{rc.left, rc.top, rc.left + m_rcBorderSize.left, rc.bottom}, color);
        }
        if (m_rcBorderSize.top > 0) {
            CRenderEngine::DrawColor(
                hDC, RECT{rc.left, rc.top, rc.right, rc.top + m_rcBorderSize.top}, color);
        }
        if (m_rcBorderSize.right > 0) {
            CRenderEngine::DrawColor(
                hDC, RECT{rc.right - m_rcBorderSize.right, rc.top, rc.right, rc.bottom}, color);
        }
        if (m_rcBorderSize.bottom > 0) {
            CRenderEngine::DrawColor(
                hDC, RECT{rc.left, rc.bottom - m_rcBorderSize.bottom, rc.right, rc.bottom}, color);
        }
        return;
    }
    if (m_nBorderSize <= 0) return;
    if (m_cxyBorderRound.cx > 0 || m_cxyBorderRound.cy > 0) {
        CRenderEngine::DrawRoundRect(hDC, rc, m_nBorderSize, m_cxyBorderRound.cx,
                                     m_cxyBorderRound.cy, color);
    } else {
        CRenderEngine::DrawRect(hDC, rc, m_nBorderSize, color);
    }
}

bool CControlUI::DrawImage(HDC hDC, LPCTSTR pStrImage, LPCTSTR pStrModify) {
    return CRenderEngine::DrawImageString(hDC, m_pManager, m_rcItem, m_rcPaint, pStrImage,
                                          pStrModify);
}

}  // namespace UiLib
