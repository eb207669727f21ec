#pragma once

// The sliding banner of the start view: the popular shows' pictures take turns in the
// two panels "hlTopHotTvLst1" (the picture shown) and "hlTopHotTvLst2" (the next one,
// sliding in from the right). A slide accelerates (offsets 0 or 2, then 6, 12, 20, ...,
// n·(n + 1)) with a tick every bannerSlideMs; the new picture then rests for
// bannerRestMs. The main window skips the ticks while ClientProcess().animationEnabled
// is false.

#include <cstdint>

class CTrovik;

// How far the next picture has slid in, in pixels, and the tick count of the slide;
// both 0 at start.
struct BannerSlide {
    std::int32_t offset = 0;
    std::int32_t step = 0;
};

// The banner's state in the main window's model.
struct BannerState {
    std::uint8_t bannerIndex = 0;  // the popular show shown (or sliding out)
    BannerSlide slide;
    std::uint32_t bannerRestMs = 0;   // 3,000, set by the start-up
    std::uint32_t bannerSlideMs = 0;  // 5, set by the start-up
};

// The banner's height and the picture width its source rectangles assume.
inline constexpr int kBannerHeight = 240;
inline constexpr int kBannerPictureWidth = 410;

// One tick of timer 2025: draws the slide (or the resting picture) and re-arms the
// timer. Without popular shows there is nothing to show; the timer then ticks at the
// resting pace until a list arrives.
void BannerStep(CTrovik& wnd);
