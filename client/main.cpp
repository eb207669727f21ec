// trovik: the client. One instance per user session; it creates the main window from
// the skin archive "Skin/SkinRes.zip" beside the executable and runs until the user
// quits.

#include <memory>
#include <new>
#include <string>
#include <vector>

#include "client/SingleInstance.h"
#include "client/core/StartupFlags.h"
#include "client/frame/AppIcon.h"
#include "client/mainwnd/Trovik.h"
#include "platform/WindowRegistry.h"
#include "uilib/UiLib.h"

using namespace UiLib;

int main(int argc, char** argv) {
    // A second start only brings the running client to the front; it needs no display.
    const auto instanceLock =
        ClaimSingleInstance(kSingleInstanceMutex, kMainWindowClass, kMainWindowTitle);
    if (!instanceLock) return 0;

    // Read before the toolkit sees the arguments, so it can take none of them away.
    ProcessStartupFlags() = ParseStartupSwitches(std::vector<std::string>(argv, argv + argc));

    CApplication app(argc, argv);
    // A second start finds the main window through the window registry.
    AnnounceWindowsWith<platform::WindowRegistration>();
    CPaintManagerUI::SetInstance(app.Instance());
    CPaintManagerUI::SetResourcePath(CPaintManagerUI::GetInstancePath() + L"Skin");
    CPaintManagerUI::SetResourceZip(L"SkinRes.zip", false);
    RegisterAppIcon();

    std::unique_ptr<CTrovik> wnd(new (std::nothrow) CTrovik);
    if (!wnd) return 0;
    wnd->model().banner.bannerRestMs = 3000;
    wnd->model().banner.bannerSlideMs = 5;
    // WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU,
    // WS_EX_WINDOWEDGE.
    wnd->Create(nullptr, kMainWindowTitle, 0x96C80000, 0x100);
    wnd->SetIcon(kAppIconId);
    wnd->CenterWindow();
    UiLib::ShowWindow(wnd->GetHWND(), ProcessStartupFlags().startHidden ? SW_HIDE : SW_SHOW);
    CPaintManagerUI::MessageLoop();
    return 0;
}
