#include "uilib/testing/RecordingCanvas.h"

#include <algorithm>
#include <cstring>

#include "uilib/core/Defines.h"
#include "uilib/core/FontInfo.h"

namespace UiLib::testing {

namespace {

class SizedImage final : public backend::Image {
public:
    explicit SizedImage(SIZE size) : size_(size) {}
    SIZE Size() const override { return size_; }

private:
    SIZE size_;
};

bool IsWide(wchar_t c) {
    return c >= 0x1100;
}

int Advance(int size, wchar_t c) {
    return IsWide(c) ? size : std::max(1, size / 2);
}

std::uint32_t BigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           std::uint32_t{p[3]};
}

}  // namespace

RecordingCanvas::RecordingCanvas(const RECT& bounds, double pixelRatio) : pixelRatio_(pixelRatio) {
    clips_.push_back(bounds);
}

void RecordingCanvas::Record(DrawCall::Kind kind, const RECT& rc, DWORD color,
                             std::wstring_view text) {
    calls_.push_back(DrawCall{kind, rc, clips_.back(), color, std::wstring(text), SIZE{}, RECT{}});
}

void RecordingCanvas::FillRect(const RECT& rc, DWORD color) {
    Record(DrawCall::Kind::Fill, rc, color);
}

void RecordingCanvas::FillRoundRect(const RECT& rc, SIZE, DWORD color) {
    Record(DrawCall::Kind::RoundFill, rc, color);
}

void RecordingCanvas::StrokeRoundRect(const RECT& rc, int, SIZE, DWORD color) {
    Record(DrawCall::Kind::RoundStroke, rc, color);
}

void RecordingCanvas::DrawLine(POINT from, POINT to, int, DWORD color) {
    Record(DrawCall::Kind::Line, RECT{from.x, from.y, to.x, to.y}, color);
}

void RecordingCanvas::DrawImage(const backend::Image& image, const RECT& dst, const RECT& src,
                                BYTE) {
    Record(DrawCall::Kind::Image, dst, 0);
    calls_.back().image = image.Size();
    calls_.back().source = src;
}

void RecordingCanvas::DrawText(const RECT& rc, std::wstring_view text, const TFontInfo&,
                               DWORD color, UINT) {
    Record(DrawCall::Kind::Text, rc, color, text);
}

void RecordingCanvas::DrawTextRun(POINT origin, std::wstring_view text, const TFontInfo& font,
                                  DWORD color) {
    const auto m = HeadlessMetrics(font);
    Record(DrawCall::Kind::Text,
           RECT{origin.x, origin.y - m.ascent, origin.x + HeadlessTextWidth(font, text),
                origin.y + m.descent},
           color, text);
}

void RecordingCanvas::PushClip(const RECT& rc) {
    RECT clip;
    if (!IntersectRect(&clip, clips_.back(), rc)) clip = RECT{};
    clips_.push_back(clip);
}

void RecordingCanvas::PopClip() {
    if (clips_.size() > 1) clips_.pop_back();
}

backend::Backend::FontMetrics HeadlessMetrics(const TFontInfo& font) {
    const int size = std::max(1, font.iSize);
    return backend::Backend::FontMetrics{size + size / 4, size, size / 4};
}

int HeadlessTextWidth(const TFontInfo& font, std::wstring_view text) {
    const int size = std::max(1, font.iSize);
    int width = 0;
    for (wchar_t c : text) width += Advance(size, c);
    return width;
}

SIZE HeadlessMeasure(const TFontInfo& font, std::wstring_view text, UINT style, int width) {
    const int size = std::max(1, font.iSize);
    const int lineHeight = HeadlessMetrics(font).height;
    if ((style & DT_SINGLELINE) || !(style & DT_WORDBREAK)) {
        return SIZE{HeadlessTextWidth(font, text), lineHeight};
    }
    // Wrapped character by character within the width.
    int lines = 1, x = 0, widest = 0;
    for (wchar_t c : text) {
        const int advance = Advance(size, c);
        if (c == L'\n' || (x > 0 && x + advance > width)) {
            ++lines;
            x = 0;
            if (c == L'\n') continue;
        }
        x += advance;
        widest = std::max(widest, x);
    }
    return SIZE{widest, lines * lineHeight};
}

std::shared_ptr<const backend::Image> HeadlessDecode(const void* data, std::size_t size) {
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (!bytes || size < 24 || std::memcmp(bytes, kSignature, 8) != 0 ||
        std::memcmp(bytes + 12, "IHDR", 4) != 0) {
        return nullptr;
    }
    const std::uint32_t w = BigEndian32(bytes + 16);
    const std::uint32_t h = BigEndian32(bytes + 20);
    if (w == 0 || h == 0 || w > 1u << 16 || h > 1u << 16) return nullptr;
    return std::make_shared<SizedImage>(SIZE{static_cast<LONG>(w), static_cast<LONG>(h)});
}

}  // namespace UiLib::testing
