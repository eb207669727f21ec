#include "skin/tests/WindowPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <QImage>

namespace skintest {

Picture Grab(UiLib::testing::UiTestDriver& driver, UiLib::HWND hWnd) {
    const char* tmp = std::getenv("TMPDIR");
    // One file per process and picture: test programs run side by side in one folder.
    static int serial = 0;
    const std::filesystem::path file =
        std::filesystem::path(tmp && *tmp ? tmp : "/tmp") /
        ("trovik-skin-grab-" + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".png");
    Picture picture;
    if (!driver.SaveWindowPng(hWnd, file.string())) return picture;
    QImage image(QString::fromStdString(file.string()));
    std::filesystem::remove(file);
    if (image.isNull()) return picture;
    image = image.convertToFormat(QImage::Format_ARGB32);
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.reserve(static_cast<size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        picture.pixels.insert(picture.pixels.end(), line, line + picture.width);
    }
    return picture;
}

int ChangedPixels(const Picture& a, const Picture& b, const UiLib::RECT& rc, int threshold) {
    const int right = std::min({static_cast<int>(rc.right), a.width, b.width});
    const int bottom = std::min({static_cast<int>(rc.bottom), a.height, b.height});
    int changed = 0;
    for (int y = std::max(0, static_cast<int>(rc.top)); y < bottom; ++y) {
        for (int x = std::max(0, static_cast<int>(rc.left)); x < right; ++x) {
            const std::uint32_t p = a.At(x, y);
            const std::uint32_t q = b.At(x, y);
            for (int shift = 0; shift < 32; shift += 8) {
                const int d =
                    static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
                if (std::abs(d) > threshold) {
                    ++changed;
                    break;
                }
            }
        }
    }
    return changed;
}

namespace {
double Luminance(std::uint32_t c) {
    auto channel = [](std::uint32_t v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((c >> 16) & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) +
           0.0722 * channel(c & 0xFF);
}
}  // namespace

double Contrast(std::uint32_t a, std::uint32_t b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace skintest
