#pragma once

// A window's picture as plain pixels, so the skin's tests can compare states.

#include <cstdint>
#include <vector>

#include "uilib/testing/UiTestDriver.h"

namespace skintest {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // 0xAARRGGBB, row by row
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The window as it is painted now (empty on failure).
Picture Grab(UiLib::testing::UiTestDriver& driver, UiLib::HWND hWnd);

// Pixels inside rc (clipped to both pictures) whose colour differs by more than
// `threshold` in some channel.
int ChangedPixels(const Picture& a, const Picture& b, const UiLib::RECT& rc, int threshold = 24);

// WCAG contrast ratio of two opaque colours (1 to 21).
double Contrast(std::uint32_t a, std::uint32_t b);

}  // namespace skintest
