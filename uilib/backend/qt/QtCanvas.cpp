#include "uilib/backend/qt/QtCanvas.h"

#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

#include "uilib/backend/qt/QtFonts.h"
#include "uilib/backend/qt/QtImage.h"
#include "uilib/core/Defines.h"

namespace UiLib::qt {

namespace {

QRect ToQRect(const RECT& rc) {
    return QRect(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
}

QColor ToQColor(DWORD c) {
    return QColor::fromRgba(c);
}

QString ToQString(std::wstring_view text) {
    return QString::fromWCharArray(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

int AlignmentOf(UINT style) {
    int a = Qt::AlignLeft;
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

QtCanvas::QtCanvas(QPainter* painter) : painter_(painter) {
    painter_->setRenderHint(QPainter::SmoothPixmapTransform);
}

void QtCanvas::FillRect(const RECT& rc, DWORD color) {
    painter_->fillRect(ToQRect(rc), ToQColor(color));
}

void QtCanvas::FillRoundRect(const RECT& rc, SIZE corner, DWORD color) {
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing);
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(ToQColor(color));
    painter_->drawRoundedRect(ToQRect(rc), corner.cx / 2.0, corner.cy / 2.0);
    painter_->restore();
}

void QtCanvas::StrokeRoundRect(const RECT& rc, int penWidth, SIZE corner, DWORD color) {
    painter_->save();
    painter_->setRenderHint(QPainter::Antialiasing);
    QPen pen(ToQColor(color));
    pen.setWidth(penWidth);
    painter_->setPen(pen);
    painter_->setBrush(Qt::NoBrush);
    const qreal half = penWidth / 2.0;
    painter_->drawRoundedRect(QRectF(rc.left + half, rc.top + half, rc.right - rc.left - penWidth,
                                     rc.bottom - rc.top - penWidth),
                              corner.cx / 2.0, corner.cy / 2.0);
    painter_->restore();
}

void QtCanvas::DrawLine(POINT from, POINT to, int penWidth, DWORD color) {
    painter_->save();
    QPen pen(ToQColor(color));
    pen.setWidth(penWidth);
    pen.setCapStyle(Qt::FlatCap);
    painter_->setPen(pen);
    painter_->drawLine(from.x, from.y, to.x, to.y);
    painter_->restore();
}

void QtCanvas::DrawImage(const backend::Image& image, const RECT& dst, const RECT& src,
                         BYTE alpha) {
    if (alpha == 255) {
        painter_->drawImage(ToQRect(dst), QImageOf(image), ToQRect(src));
        return;
    }
    const qreal opacity = painter_->opacity();
    painter_->setOpacity(opacity * alpha / 255.0);
    painter_->drawImage(ToQRect(dst), QImageOf(image), ToQRect(src));
    painter_->setOpacity(opacity);
}

void QtCanvas::DrawText(const RECT& rc, std::wstring_view text, const TFontInfo& font, DWORD color,
                        UINT style) {
    const QFont& qfont = FontOf(font);
    QString s = ToQString(text);
    const QRect r = ToQRect(rc);
    const bool singleLine = (style & DT_SINGLELINE) || !(style & DT_WORDBREAK);
    int flags = AlignmentOf(style);
    if (singleLine) {
        s.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (style & DT_END_ELLIPSIS)
            s = QFontMetrics(qfont).elidedText(s, Qt::ElideRight, r.width());
    } else {
        flags |= Qt::TextWordWrap;
    }
    painter_->save();
    painter_->setClipRect(r, Qt::IntersectClip);
    painter_->setFont(qfont);
    painter_->setPen(ToQColor(color));
    painter_->drawText(r, flags, s);
    painter_->restore();
}

void QtCanvas::DrawTextRun(POINT origin, std::wstring_view text, const TFontInfo& font,
                           DWORD color) {
    painter_->setFont(FontOf(font));
    painter_->setPen(ToQColor(color));
    painter_->drawText(QPoint(origin.x, origin.y), ToQString(text));
}

void QtCanvas::PushClip(const RECT& rc) {
    painter_->save();
    painter_->setClipRect(ToQRect(rc), Qt::IntersectClip);
}

void QtCanvas::PopClip() {
    painter_->restore();
}

double QtCanvas::PixelRatio() const {
    // What is painted on: the backing store of a window on a scaled screen, or a picture
    // painted at a ratio. device() would name the widget even when the painting is
    // redirected into a picture; the engine knows the real target.
    const QPaintEngine* engine = painter_->paintEngine();  // there while painting
    const QPaintDevice* device = engine ? engine->paintDevice() : painter_->device();
    return device ? device->devicePixelRatioF() : 1.0;
}

}  // namespace UiLib::qt
