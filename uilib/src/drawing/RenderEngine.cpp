#include "uilib/core/RenderEngine.h"

#include <algorithm>
#include <unordered_map>

#include "uilib/core/PaintManager.h"
#include "uilib/src/Backend.h"
#include "uilib/src/drawing/HtmlText.h"
#include "uilib/src/resources/ResourceStore.h"
#include "uilib/src/text/AttributeValues.h"

namespace UiLib {

namespace {

struct ImageRef {
    std::wstring file;
    bool hasSource = false;
    RECT source;
    RECT corner;
    bool hasDest = false;
    RECT dest;
    int fade = 255;
};

void ApplyImageAttrs(ImageRef& ref, const wchar_t* text) {
    for (const auto& [name, value] : detail::ParseAttributeList(text)) {
        if (name == L"file" || name == L"res") {
            ref.file = value;
        } else if (name == L"source") {
            ref.source = detail::ParseRect(value.c_str());
            ref.hasSource = true;
        } else if (name == L"corner") {
            ref.corner = detail::ParseRect(value.c_str());
        } else if (name == L"dest") {
            ref.dest = detail::ParseRect(value.c_str());
            ref.hasDest = true;
        } else if (name == L"fade") {
            ref.fade = std::clamp(detail::ParseInt(value.c_str()), 0, 255);
        }
    }
}

const ImageRef& ParseImageString(const std::wstring& text) {
    static std::unordered_map<std::wstring, ImageRef> cache;
    const auto it = cache.find(text);
    if (it != cache.end()) return it->second;
    if (cache.size() > 4096) cache.clear();
    ImageRef ref;
    if (text.find(L'=') == std::wstring::npos) {
        ref.file = text;
    } else {
        ApplyImageAttrs(ref, text.c_str());
    }
    return cache.emplace(text, std::move(ref)).first->second;
}

// The part of an image a source rectangle picks (the whole image without one).
RECT SourceRect(const ImageRef& ref, SIZE image) {
    const RECT whole{0, 0, image.cx, image.cy};
    if (!ref.hasSource) return whole;
    RECT part;
    if (!IntersectRect(&part, ref.source, whole)) return RECT{};
    return part;
}

RECT Scaled(const RECT& rc, int scale) {
    return RECT{rc.left * scale, rc.top * scale, rc.right * scale, rc.bottom * scale};
}

// Draws src of image into dst, keeping `corner` units of each edge unscaled. src is in
// the image's pixels, `scale` of them to a unit (2 for an "@2x" picture), so the corners
// take corner × scale pixels of the image.
void DrawNinePatch(UiDC& dc, const backend::Image& image, const RECT& dst, const RECT& src,
                   const RECT& corner, BYTE alpha, int scale) {
    const LONG l = corner.left, t = corner.top, r = corner.right, b = corner.bottom;
    if (l <= 0 && t <= 0 && r <= 0 && b <= 0) {
        dc.DrawImage(image, dst, src, alpha);
        return;
    }
    const LONG sx[4] = {src.left, src.left + l * scale, src.right - r * scale, src.right};
    const LONG sy[4] = {src.top, src.top + t * scale, src.bottom - b * scale, src.bottom};
    const LONG dx[4] = {dst.left, dst.left + l, dst.right - r, dst.right};
    const LONG dy[4] = {dst.top, dst.top + t, dst.bottom - b, dst.bottom};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const RECT s{sx[col], sy[row], sx[col + 1], sy[row + 1]};
            const RECT d{dx[col], dy[row], dx[col + 1], dy[row + 1]};
            if (!IsRectEmpty(s) && !IsRectEmpty(d)) dc.DrawImage(image, d, s, alpha);
        }
    }
}

}  // namespace

namespace detail {

const TFontInfo& FontInfoOf(const CPaintManagerUI* manager, int id) {
    if (manager) return manager->GetFontInfo(id);
    static const TFontInfo fallback{CDuiString(L"WenQuanYi Zen Hei"), 12, false, false, false};
    return fallback;
}

}  // namespace detail

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
    if (!hDC || (color >> 24) == 0 || IsRectEmpty(rc)) return;
    hDC->FillRect(rc, color);
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor) {
    if (!hDC || nSize <= 0) return;
    hDC->DrawLine(POINT{rc.left, rc.top}, POINT{rc.right, rc.bottom}, nSize, dwPenColor);
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor) {
    if (!hDC || nSize <= 0 || IsRectEmpty(rc)) return;
    const LONG s = std::min<LONG>({nSize, RectWidth(rc), RectHeight(rc)});
    hDC->FillRect(RECT{rc.left, rc.top, rc.right, rc.top + s}, dwPenColor);
    hDC->FillRect(RECT{rc.left, rc.bottom - s, rc.right, rc.bottom}, dwPenColor);
    hDC->FillRect(RECT{rc.left, rc.top + s, rc.left + s, rc.bottom - s}, dwPenColor);
    hDC->FillRect(RECT{rc.right - s, rc.top + s, rc.right, rc.bottom - s}, dwPenColor);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height,
                                  DWORD dwPenColor) {
    if (!hDC || nSize <= 0 || IsRectEmpty(rc)) return;
    hDC->StrokeRoundRect(rc, nSize, SIZE{width, height}, dwPenColor);
}

void CRenderEngine::FillRoundRect(HDC hDC, const RECT& rc, int width, int height, DWORD color) {
    if (!hDC || IsRectEmpty(rc) || (color >> 24) == 0) return;
    hDC->FillRoundRect(rc, SIZE{width, height}, color);
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI*, const RECT& rcItem,
                                    const RECT& rcPaint, LPCTSTR pStrImage, LPCTSTR pStrModify) {
    if (!pStrImage || !*pStrImage) return false;
    ImageRef ref = ParseImageString(pStrImage);
    if (pStrModify && *pStrModify) ApplyImageAttrs(ref, pStrModify);
    if (!hDC) return detail::LoadImage(ref.file) != nullptr;
    // On a scaled screen the skin's "@2x" picture, where it has one. Source rectangles
    // and corners are written in units of the 1x picture.
    const auto [image, scale] = detail::LoadImageFor(ref.file, hDC->PixelRatio());
    if (!image) return false;
    const SIZE pixels = image->Size();
    const RECT src = Scaled(SourceRect(ref, SIZE{pixels.cx / scale, pixels.cy / scale}), scale);
    if (IsRectEmpty(src)) return true;
    RECT dst = rcItem;
    if (ref.hasDest) {
        dst = RECT{rcItem.left + ref.dest.left, rcItem.top + ref.dest.top,
                   rcItem.left + ref.dest.right, rcItem.top + ref.dest.bottom};
        dst.right = std::min(dst.right, rcItem.right);
        dst.bottom = std::min(dst.bottom, rcItem.bottom);
    }
    if (IsRectEmpty(dst)) return true;
    RECT visible;
    if (!IntersectRect(&visible, dst, rcPaint)) return true;
    hDC->PushClip(rcItem);
    DrawNinePatch(*hDC, *image, dst, src, ref.corner, static_cast<BYTE>(ref.fade), scale);
    hDC->PopClip();
    return true;
}

SIZE CRenderEngine::GetImageSize(CPaintManagerUI*, LPCTSTR pStrImage) {
    if (!pStrImage) return SIZE{};
    const ImageRef& ref = ParseImageString(pStrImage);
    const backend::Image* image = detail::LoadImage(ref.file);
    if (!image) return SIZE{};
    const RECT src = SourceRect(ref, image->Size());
    return SIZE{RectWidth(src), RectHeight(src)};
}

void CRenderEngine::DrawText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCTSTR pstrText,
                             DWORD dwTextColor, int iFont, UINT uStyle) {
    if (!pstrText || !*pstrText) {
        if (uStyle & DT_CALCRECT) {
            rc.right = rc.left;
            rc.bottom = rc.top + GetFontHeight(pManager, iFont);
        }
        return;
    }
    const TFontInfo& font = detail::FontInfoOf(pManager, iFont);
    if (uStyle & DT_CALCRECT) {
        backend::Backend* b = backend::CurrentBackend();
        const bool singleLine = (uStyle & DT_SINGLELINE) || !(uStyle & DT_WORDBREAK);
        const int width = singleLine ? 100000 : std::max(1, static_cast<int>(RectWidth(rc)));
        const SIZE size = b ? b->MeasureText(font, pstrText, uStyle, width) : SIZE{};
        rc.right = rc.left + size.cx;
        rc.bottom = rc.top + size.cy;
        return;
    }
    if (!hDC || IsRectEmpty(rc)) return;
    hDC->DrawText(rc, pstrText, font, dwTextColor, uStyle);
}

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCTSTR pstrText,
                                 DWORD dwTextColor, int iFont, UINT uStyle) {
    if (!pstrText || !*pstrText) return;
    const auto runs = detail::ParseMarkup(pstrText, iFont);
    if (uStyle & DT_CALCRECT) {
        const SIZE size = detail::LayoutRuns(nullptr, pManager, runs, rc, dwTextColor, uStyle);
        rc.right = rc.left + size.cx;
        rc.bottom = rc.top + size.cy;
        return;
    }
    if (!hDC || IsRectEmpty(rc)) return;
    detail::LayoutRuns(hDC, pManager, runs, rc, dwTextColor, uStyle);
}

SIZE CRenderEngine::GetTextSize(CPaintManagerUI* pManager, LPCTSTR pstrText, int iFont,
                                bool bHtml) {
    RECT rc{0, 0, 100000, 100000};
    if (bHtml) {
        DrawHtmlText(nullptr, pManager, rc, pstrText, 0, iFont, DT_SINGLELINE | DT_CALCRECT);
    } else {
        DrawText(nullptr, pManager, rc, pstrText, 0, iFont, DT_SINGLELINE | DT_CALCRECT);
    }
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

int CRenderEngine::GetFontHeight(CPaintManagerUI* pManager, int iFont) {
    backend::Backend* b = backend::CurrentBackend();
    return b ? b->MetricsOf(detail::FontInfoOf(pManager, iFont)).height : 0;
}

}  // namespace UiLib
