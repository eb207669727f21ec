#include "client/mainwnd/Banner.h"

#include <string>

#include "client/mainwnd/HotLists.h"
#include "client/mainwnd/ListImages.h"
#include "client/mainwnd/Trovik.h"
#include "platform/DebugLog.h"

using namespace UiLib;

namespace {

void ShowPanel(CControlUI* panel, int left, int right, const std::wstring& image) {
    if (!panel) return;
    const std::wstring pos = std::to_wstring(left) + L",0," + std::to_wstring(right) + L"," +
                             std::to_wstring(kBannerHeight);
    panel->SetAttribute(L"pos", pos.c_str());
    if (!image.empty()) panel->SetBkImage(image.c_str());
}

}  // namespace

void BannerStep(CTrovik& wnd) {
    MainModel& model = wnd.model();
    const MainControls& controls = wnd.controls();
    BannerState& banner = model.banner;
    const std::vector<HotEntry>& hot = model.lists.hot;
    const size_t n = hot.size();
    if (n == 0) {
        SetTimer(wnd.GetHWND(), TIMER_BANNER, banner.bannerRestMs);
        return;
    }
    // An index at or past the end (the list shrank) reads as the first entry.
    const auto imageOf = [&](size_t index) { return hot[index < n ? index : 0].image; };
    BannerSlide& slide = banner.slide;
    const int width = model.initialWidth;
    const std::wstring height = std::to_wstring(kBannerHeight);
    if (slide.offset < width) {
        // Sliding: the shown picture leaves to the left, the next one follows it.
        const std::wstring offset = std::to_wstring(slide.offset);
        ShowPanel(controls.bannerFront, 0, width - slide.offset,
                  ImageFileAttribute(imageOf(banner.bannerIndex)) + L" source='" + offset + L",0," +
                      std::to_wstring(kBannerPictureWidth) + L"," + height + L"'");
        const size_t next = banner.bannerIndex + 1u < n ? banner.bannerIndex + 1u : 0;
        const std::wstring back =
            ImageFileAttribute(imageOf(next)) + L" source='0,0," + offset + L"," + height + L"'";
        ShowPanel(controls.bannerBack, width - slide.offset, width, back);
        platform::DebugOutput(back);
        SetTimer(wnd.GetHWND(), TIMER_BANNER, banner.bannerSlideMs);
    } else {
        // The slide is over: the next picture rests in front.
        if (slide.offset > 0) {
            ++banner.bannerIndex;
            slide = BannerSlide{};
        }
        if (banner.bannerIndex >= n) banner.bannerIndex = 0;
        ShowPanel(controls.bannerFront, 0, width, ImageFileAttribute(imageOf(banner.bannerIndex)));
        ShowPanel(controls.bannerBack, width, width, L"");
        SetTimer(wnd.GetHWND(), TIMER_BANNER, banner.bannerRestMs);
    }
    ++slide.step;
    slide.offset += 2 * slide.step;
}
