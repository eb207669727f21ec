#pragma once

// QtCanvas: the drawing surface (HDC) of the Qt backend, a QPainter on a window or a
// picture.

#include "uilib/src/Backend.h"

class QPainter;

namespace UiLib::qt {

class QtCanvas final : public UiDC {
public:
    // Draws with `painter`, which must outlive the canvas.
    explicit QtCanvas(QPainter* painter);

    void FillRect(const RECT& rc, DWORD color) override;
    void FillRoundRect(const RECT& rc, SIZE corner, DWORD color) override;
    void StrokeRoundRect(const RECT& rc, int penWidth, SIZE corner, DWORD color) override;
    void DrawLine(POINT from, POINT to, int penWidth, DWORD color) override;
    void DrawImage(const backend::Image& image, const RECT& dst, const RECT& src,
                   BYTE alpha) override;
    void DrawText(const RECT& rc, std::wstring_view text, const TFontInfo& font, DWORD color,
                  UINT style) override;
    void DrawTextRun(POINT origin, std::wstring_view text, const TFontInfo& font,
                     DWORD color) override;
    void PushClip(const RECT& rc) override;
    void PopClip() override;
    double PixelRatio() const override;

private:
    QPainter* painter_;
};

// The Qt alignment flags of DT_* text styles.
int AlignmentOf(UINT style);

}  // namespace UiLib::qt
