#pragma once

// Colours of pixels (0xAARRGGBB) in the pictures of the painting tests.

#include "uilib/core/Win32Types.h"

namespace uilibtest {

constexpr UiLib::DWORD Rgb(int r, int g, int b) {
    return 0xFF000000u | (static_cast<UiLib::DWORD>(r) << 16) |
           (static_cast<UiLib::DWORD>(g) << 8) | static_cast<UiLib::DWORD>(b);
}
constexpr int Alpha(UiLib::DWORD px) {
    return static_cast<int>(px >> 24);
}
constexpr int Red(UiLib::DWORD px) {
    return static_cast<int>((px >> 16) & 0xFF);
}
constexpr int Green(UiLib::DWORD px) {
    return static_cast<int>((px >> 8) & 0xFF);
}
constexpr int Blue(UiLib::DWORD px) {
    return static_cast<int>(px & 0xFF);
}

}  // namespace uilibtest
