#pragma once

// What the headless test backend draws and measures: painting is recorded as a list
// of calls instead of pixels, text is measured with simple fixed metrics, and images
// are known by their size only.

#include <string>
#include <vector>

#include "uilib/src/Backend.h"

namespace UiLib::testing {

struct DrawCall {
    enum class Kind { Fill, RoundFill, RoundStroke, Line, Image, Text };
    Kind kind = Kind::Fill;
    RECT rect;  // where (a line: from left/top to right/bottom)
    RECT clip;  // the clip in effect
    DWORD color = 0;
    std::wstring text;
    SIZE image;   // an image: its size in pixels
    RECT source;  // an image: the part drawn, in its pixels
};

class RecordingCanvas final : public UiDC {
public:
    // pixelRatio: the scale of the screen it stands for (pictures are chosen by it).
    explicit RecordingCanvas(const RECT& bounds, double pixelRatio = 1.0);

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
    double PixelRatio() const override { return pixelRatio_; }

    const std::vector<DrawCall>& calls() const { return calls_; }

private:
    void Record(DrawCall::Kind kind, const RECT& rc, DWORD color, std::wstring_view text = {});

    double pixelRatio_;
    std::vector<RECT> clips_;
    std::vector<DrawCall> calls_;
};

// The headless metrics: a font of size s is s + s/4 pixels high (ascent s); ideographs
// and other wide characters advance s pixels, the others s/2.
backend::Backend::FontMetrics HeadlessMetrics(const TFontInfo& font);
int HeadlessTextWidth(const TFontInfo& font, std::wstring_view text);
SIZE HeadlessMeasure(const TFontInfo& font, std::wstring_view text, UINT style, int width);

// A PNG known by its size (from its header); null for anything else.
std::shared_ptr<const backend::Image> HeadlessDecode(const void* data, std::size_t size);

}  // namespace UiLib::testing
