// A window painted for a screen scaled by 2 against the same window at scale 1: the
// same layout at twice the size, but drawn from the skin's "@2x" pictures and with text
// at device resolution, so it holds more detail than the 1x picture enlarged.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tools/testsupport/SkinWindow.h"
#include "uilib/testing/UiTestDriver.h"

using namespace UiLib;

namespace {

const std::string kArchive = std::string(TROVIK_BIN_DIR) + "/Skin/SkinRes.zip";

using Bitmap = backend::Bitmap;

int Channel(std::uint32_t c, int shift) {
    return static_cast<int>((c >> shift) & 0xFF);
}

int Luma(std::uint32_t c) {
    return (Channel(c, 16) * 3 + Channel(c, 8) * 6 + Channel(c, 0)) / 10;
}

// The 1x picture enlarged to twice its size smoothly (bilinear, pixel centres aligned),
// as a screen shows a picture that has no more pixels.
Bitmap Enlarged(const Bitmap& one) {
    Bitmap out;
    out.width = one.width * 2;
    out.height = one.height * 2;
    out.pixels.resize(static_cast<size_t>(out.width) * out.height);
    auto at = [&](int x, int y) {
        x = std::clamp(x, 0, one.width - 1);
        y = std::clamp(y, 0, one.height - 1);
        return one.At(x, y);
    };
    for (int y = 0; y < out.height; ++y) {
        // Device pixel y covers 1x position (y + 0.5) / 2 - 0.5: a quarter before or after.
        const int y0 = (y - 1) / 2 - (y == 0 ? 1 : 0);
        const int wy = (y % 2 == 0) ? 3 : 1;  // weight of row y0 + 1, in quarters
        for (int x = 0; x < out.width; ++x) {
            const int x0 = (x - 1) / 2 - (x == 0 ? 1 : 0);
            const int wx = (x % 2 == 0) ? 3 : 1;
            std::uint32_t c = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const int top =
                    Channel(at(x0, y0), shift) * (4 - wx) + Channel(at(x0 + 1, y0), shift) * wx;
                const int bottom = Channel(at(x0, y0 + 1), shift) * (4 - wx) +
                                   Channel(at(x0 + 1, y0 + 1), shift) * wx;
                const int v = (top * (4 - wy) + bottom * wy + 8) / 16;
                c |= static_cast<std::uint32_t>(v) << shift;
            }
            out.pixels[static_cast<size_t>(y) * out.width + x] = c;
        }
    }
    return out;
}

// Edge energy of a rectangle (device pixels): the sum of squared brightness steps to the
// right and downwards. A soft edge spreads its step over several pixels and has less.
double EdgeEnergy(const Bitmap& p, const RECT& rc) {
    double sum = 0;
    for (int y = rc.top; y + 1 < rc.bottom; ++y) {
        for (int x = rc.left; x + 1 < rc.right; ++x) {
            const int c = Luma(p.At(x, y));
            const int dx = Luma(p.At(x + 1, y)) - c;
            const int dy = Luma(p.At(x, y + 1)) - c;
            sum += dx * dx + dy * dy;
        }
    }
    return sum;
}

RECT Doubled(const RECT& rc) {
    return RECT{rc.left * 2, rc.top * 2, rc.right * 2, rc.bottom * 2};
}

class ScaledPicture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(skintest::UseSkinArchive(kArchive)) << kArchive << " is missing";
    }
    UiLib::testing::UiTestDriver driver;
};

}  // namespace

TEST_F(ScaledPicture, TwiceTheScaleIsTheSameLayoutWithSharperPicturesAndText) {
    skintest::SkinWindow w{L"MsgDlg.xml"};
    const HWND h = w.Make();
    ASSERT_NE(h, nullptr);
    driver.Pump();
    const Bitmap one = driver.Picture(h, 1.0);
    const Bitmap two = driver.Picture(h, 2.0);
    ASSERT_EQ(one.width, 320);
    ASSERT_EQ(one.height, 168);
    ASSERT_EQ(two.width, 640);
    ASSERT_EQ(two.height, 336);
    const Bitmap oneAndHalf = driver.Picture(h, 1.5);
    EXPECT_EQ(oneAndHalf.width, 480);
    EXPECT_EQ(oneAndHalf.height, 252);
    EXPECT_EQ(driver.Picture(h, 0.0).width, 320);  // no ratio: as at 1

    // The same layout: each 2 x 2 block of the 2x picture averages to the 1x pixel. Text
    // is hinted to each resolution's own pixel grid, so it differs along its strokes;
    // pictures (their corners and source rectangles in units) must agree everywhere.
    auto worstIn = [&](const RECT& rc) {
        int worst = 0;
        for (int y = rc.top; y < rc.bottom; ++y) {
            for (int x = rc.left; x < rc.right; ++x) {
                for (int shift = 0; shift < 32; shift += 8) {
                    const int sum = Channel(two.At(2 * x, 2 * y), shift) +
                                    Channel(two.At(2 * x + 1, 2 * y), shift) +
                                    Channel(two.At(2 * x, 2 * y + 1), shift) +
                                    Channel(two.At(2 * x + 1, 2 * y + 1), shift);
                    worst = std::max(worst, std::abs((sum + 2) / 4 - Channel(one.At(x, y), shift)));
                }
            }
        }
        return worst;
    };
    const RECT ok = w.Find(L"btnOk")->GetPos();
    const RECT cancel = w.Find(L"btnCancel")->GetPos();
    const struct {
        const char* what;
        RECT units;
    } pictures[] = {
        {"caption and close button", RECT{100, 0, 320, 32}},
        {"question mark", RECT{24, 52, 68, 96}},
        {"btnOk's left end", RECT{ok.left, ok.top, ok.left + 20, ok.bottom}},
        {"btnCancel's right end", RECT{cancel.right - 20, cancel.top, cancel.right, cancel.bottom}},
        {"body", RECT{0, 100, 120, 168}}};
    for (const auto& picture : pictures) {
        // Fine strokes (the cross, the question mark) are drawn anew at each size.
        EXPECT_LE(worstIn(picture.units), 56) << picture.what;
    }

    // More detail than the 1x picture enlarged: pictures (the quit cross of the caption,
    // the question mark, the primary button with its label) and the caption's title.
    const Bitmap enlarged = Enlarged(one);
    auto rectOf = [&](const wchar_t* name) { return w.Find(name)->GetPos(); };
    const struct {
        const char* what;
        RECT units;
    } regions[] = {{"closebtn", rectOf(L"closebtn")},
                   {"question mark", RECT{24, 52, 68, 96}},
                   {"btnOk", rectOf(L"btnOk")},
                   {"title", RECT{34, 6, 80, 26}}};
    for (const auto& region : regions) {
        const double sharp = EdgeEnergy(two, Doubled(region.units));
        const double soft = EdgeEnergy(enlarged, Doubled(region.units));
        EXPECT_GT(sharp, 1.4 * soft) << region.what << ": " << sharp << " against " << soft;
    }
}
