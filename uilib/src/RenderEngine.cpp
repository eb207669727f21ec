#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <unordered_map>

#include "uilib/core/Control.h"
#include "uilib/core/PaintManager.h"
#include "uilib/core/RenderEngine.h"
#include "uilib/src/AttributeValues.h"
#include "uilib/src/Fonts.h"
#include "uilib/src/HtmlText.h"
#include "uilib/src/RenderContext.h"
#include "uilib/src/ResourceStore.h"

namespace UiLib {

namespace {

QRect ToQRect(const RECT& rc) {
    return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}
QColor ToQColor(DWORD c) {
    return QColor::fromRgba(c);
}

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

// Draws src of image into dst, keeping `corner` pixels of each edge unscaled.
void DrawNinePatch(QPainter* p, const QImage& image, const QRect& dst, const QRect& src,
                   const RECT& corner) {
    const int l = corner.left, t = corner.top, r = corner.right, b = corner.bottom;
    if (l <= 0 && t <= 0 && r <= 0 && b <= 0) {
        p->drawImage(dst, image, src);
        return;
    }
    const int sx[4] = {src.left(), src.left() + l, src.left() + src.width() - r,
                       src.left() + src.width()};
    const int sy[4] = {src.top(), src.top() + t, src.top() + src.height() - b,
                       src.top() + src.height()};
    const int dx[4] = {dst.left(), dst.left() + l, dst.left() + dst.width() - r,
                       dst.left() + dst.width()};
    const int dy[4] = {dst.top(), dst.top() + t, dst.top() + dst.height() - b,
                       dst.top() + dst.height()};
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 3; ++col) {
            const QRect s(sx[col], sy[row], sx[col + 1] - sx[col], sy[row + 1] - sy[row]);
            const QRect d(dx[col], dy[row], dx[col + 1] - dx[col], dy[row + 1] - dy[row]);
            if (s.width() > 0 && s.height() > 0 && d.width() > 0 && d.height() > 0) {
                p->drawImage(d, image, s);
            }
        }
    }
}

Qt::Alignment AlignmentOf(UINT style) {
    Qt::Alignment a = Qt::AlignLeft;
    if (style & DT_CENTER) a = Qt::AlignHCenter;
    if (style & DT_RIGHT) a = Qt::AlignRight;
    if (style & DT_VCENTER) {
        a |= Qt::AlignVCenter;
    } else if (style & DT_BOTTOM) {
        a |= Qt::AlignBottom;
    } else {
        a |= Qt::AlignTop;
    }
    return a;
}

}  // namespace

void CRenderEngine::DrawColor(HDC hDC, const RECT& rc, DWORD color) {
    if (!hDC || (color >> 24) == 0 || IsRectEmpty(rc)) return;
    hDC->painter->fillRect(ToQRect(rc), ToQColor(color));
}

void CRenderEngine::DrawLine(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor) {
    if (!hDC || nSize <= 0) return;
    QPainter* p = hDC->painter;
    p->save();
    QPen pen(ToQColor(dwPenColor));
    pen.setWidth(nSize);
    pen.setCapStyle(Qt::FlatCap);
    p->setPen(pen);
    p->drawLine(rc.left, rc.top, rc.right, rc.bottom);
    p->restore();
}

void CRenderEngine::DrawRect(HDC hDC, const RECT& rc, int nSize, DWORD dwPenColor) {
    if (!hDC || nSize <= 0 || IsRectEmpty(rc)) return;
    const QColor c = ToQColor(dwPenColor);
    QPainter* p = hDC->painter;
    const int w = rc.right - rc.left;
    const int h = rc.bottom - rc.top;
    const int s = std::min({nSize, w, h});
    p->fillRect(QRect(rc.left, rc.top, w, s), c);
    p->fillRect(QRect(rc.left, rc.bottom - s, w, s), c);
    p->fillRect(QRect(rc.left, rc.top + s, s, h - 2 * s), c);
    p->fillRect(QRect(rc.right - s, rc.top + s, s, h - 2 * s), c);
}

void CRenderEngine::DrawRoundRect(HDC hDC, const RECT& rc, int nSize, int width, int height,
                                  DWORD dwPenColor) {
    if (!hDC || nSize <= 0 || IsRectEmpty(rc)) return;
    QPainter* p = hDC->painter;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    QPen pen(ToQColor(dwPenColor));
    pen.setWidth(nSize);
    p->setPen(pen);
    p->setBrush(Qt::NoBrush);
    const qreal half = nSize / 2.0;
    p->drawRoundedRect(QRectF(rc.left + half, rc.top + half, rc.right - rc.left - nSize,
                              rc.bottom - rc.top - nSize),
                       width / 2.0, height / 2.0);
    p->restore();
}

void CRenderEngine::FillRoundRect(HDC hDC, const RECT& rc, int width, int height, DWORD color) {
    if (!hDC || IsRectEmpty(rc) || (color >> 24) == 0) return;
    QPainter* p = hDC->painter;
    p->save();
    p->setRenderHint(QPainter::Antialiasing);
    p->setPen(Qt::NoPen);
    p->setBrush(ToQColor(color));
    p->drawRoundedRect(ToQRect(rc), width / 2.0, height / 2.0);
    p->restore();
}

bool CRenderEngine::DrawImageString(HDC hDC, CPaintManagerUI* pManager, const RECT& rcItem,
                                    const RECT& rcPaint, LPCTSTR pStrImage, LPCTSTR pStrModify) {
    if (!pStrImage || !*pStrImage) return false;
    ImageRef ref = ParseImageString(pStrImage);
    if (pStrModify && *pStrModify) ApplyImageAttrs(ref, pStrModify);
    const QImage* image = detail::LoadImage(ref.file);
    if (!image) return false;
    if (!hDC) return true;
    QRect src = ref.hasSource ? ToQRect(ref.source) : image->rect();
    src = src.intersected(image->rect());
    if (src.isEmpty()) return true;
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
    QPainter* p = hDC->painter;
    p->save();
    p->setClipRect(ToQRect(rcItem), Qt::IntersectClip);
    if (ref.fade < 255) p->setOpacity(ref.fade / 255.0);
    p->setRenderHint(QPainter::SmoothPixmapTransform);
    DrawNinePatch(p, *image, ToQRect(dst), src, ref.corner);
    p->restore();
    return true;
}

SIZE CRenderEngine::GetImageSize(CPaintManagerUI*, LPCTSTR pStrImage) {
    if (!pStrImage) return SIZE{};
    const ImageRef& ref = ParseImageString(pStrImage);
    const QImage* image = detail::LoadImage(ref.file);
    if (!image) return SIZE{};
    if (ref.hasSource) {
        const QRect s = ToQRect(ref.source).intersected(image->rect());
        return SIZE{s.width(), s.height()};
    }
    return SIZE{image->width(), image->height()};
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
    const QFont& font = detail::FontOf(pManager, iFont);
    QString text = QString::fromStdWString(pstrText);
    const bool singleLine = (uStyle & DT_SINGLELINE) || !(uStyle & DT_WORDBREAK);
    int flags = AlignmentOf(uStyle);
    if (!singleLine) flags |= Qt::TextWordWrap;
    if (uStyle & DT_CALCRECT) {
        const QFontMetrics fm(font);
        const int width = singleLine ? 100000 : std::max(1, static_cast<int>(rc.right - rc.left));
        const QRect bound = fm.boundingRect(QRect(0, 0, width, 100000), flags, text);
        rc.right = rc.left + bound.width();
        rc.bottom = rc.top + bound.height();
        return;
    }
    if (!hDC || IsRectEmpty(rc)) return;
    QPainter* p = hDC->painter;
    const QRect r = ToQRect(rc);
    if (singleLine) {
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (uStyle & DT_END_ELLIPSIS)
            text = QFontMetrics(font).elidedText(text, Qt::ElideRight, r.width());
    }
    p->save();
    p->setClipRect(r, Qt::IntersectClip);
    p->setFont(font);
    p->setPen(ToQColor(dwTextColor));
    p->drawText(r, flags, text);
    p->restore();
}

void CRenderEngine::DrawHtmlText(HDC hDC, CPaintManagerUI* pManager, RECT& rc, LPCTSTR pstrText,
                                 DWORD dwTextColor, int iFont, UINT uStyle) {
    if (!pstrText || !*pstrText) return;
    const auto runs = detail::ParseMarkup(pstrText, iFont);
    if (uStyle & DT_CALCRECT) {
        const QSize size =
            detail::LayoutRuns(nullptr, pManager, runs, ToQRect(rc), dwTextColor, uStyle);
        rc.right = rc.left + size.width();
        rc.bottom = rc.top + size.height();
        return;
    }
    if (!hDC || IsRectEmpty(rc)) return;
    detail::LayoutRuns(hDC->painter, pManager, runs, ToQRect(rc), dwTextColor, uStyle);
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
    return QFontMetrics(detail::FontOf(pManager, iFont)).height();
}

}  // namespace UiLib
