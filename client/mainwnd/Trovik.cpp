// CTrovik: identity, creation and the initialisation order of the whole client.

#include "client/mainwnd/Trovik.h"

#include <utility>

#include "client/core/ClientPaths.h"
#include "client/core/ClientSettings.h"
#include "client/core/UpdaterHandOff.h"
#include "client/core/UsageReport.h"
#include "client/frame/ClientProcess.h"
#include "client/frame/FloatToolWnd.h"
#include "client/mainwnd/HotLists.h"
#include "client/mainwnd/ListDownload.h"
#include "client/mainwnd/MainViews.h"

using namespace UiLib;

CTrovik::CTrovik(std::string installationFolder, std::string executablePath)
    : installationFolder_(std::move(installationFolder)),
      executablePath_(std::move(executablePath)) {}

// Defined here, where CFloatingToolWindow is complete, so the unique_ptr can free it.
CTrovik::~CTrovik() = default;

LPCTSTR CTrovik::GetWindowClassName() const {
    return kMainWindowClass;
}

CDuiString CTrovik::GetSkinFile() {
    return L"Main.xml";
}

LRESULT CTrovik::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // A failure while the layout loads or the client starts up must not take the
    // window's creation down with it: the window then runs with what was set up.
    try {
        return CMsFrameWnd::OnCreate(uMsg, wParam, lParam, bHandled);
    } catch (...) {
        return 0;
    }
}

void CTrovik::InitWindow() {
    // 1. The layout's size; its width is also the banner's width.
    const SIZE init = m_PaintManager.GetInitSize();
    model_.initialWidth = init.cx;
    model_.initialHeight = init.cy;

    // 2. The Windows client enabled the debug privilege of its process token here.
    // Linux has no such per-process privilege, and nothing below needs one: the
    // updater ends the client through an ordinary signal to a process of the same
    // user. So this step has nothing to do.

    // 3. and 4. Paths, folders and settings.
    SetUpClientPaths(installationFolder_.empty()
                         ? WideToUtf8(CPaintManagerUI::GetInstancePath().str())
                         : installationFolder_,
                     executablePath_);
    LoadSettings();

    // 5. Updater hand-off.
    StartUpdater();

    // 6. Lists: the download runs on its own thread and reports with message 2031.
    StartListDownloadThread(m_hWnd);
    LoadHotList(model_.lists.hot);
    LoadSiteList(model_.lists.sites);
    LoadSampleList(model_.lists.samples);

    // 7. Banner timer, controls, views, panel buttons, animation and tray timers.
    SetTimer(m_hWnd, TIMER_BANNER, 50);
    controls_.FindIn(m_PaintManager);
    model_.banner.bannerIndex = 0;
    ClientProcess().mainWindow.store(m_hWnd);
    model_.search->SetWindow(m_hWnd);
    ShowView(controls_, MainView::Opening);
    RefreshPanelButtons(*this);
    SetTimer(m_hWnd, TIMER_WAITING, 500);
    SetTimer(m_hWnd, TIMER_TRAY, 0);

    // 8. Identity values and the start-up usage report.
    SetUpUsageReporting();
    SendUsageReport(kUsageReportStartup, "");

    // 9. The floating tool window.
    floatingWindow_ = CreateFloatingWindow();

    // 10. The saved background picture.
    CMsFrameWnd::InitWindow();
}

CControlUI* CTrovik::CreateSubLayout(LPCTSTR name) {
    static const wchar_t* const kSubLayouts[][2] = {
        {L"OneTvInfo", L"OneTvInfo.xml"},           {L"OneTvSource", L"OneTvSource.xml"},
        {L"TvHistory", L"TvHistory.xml"},           {L"Troviking", L"Troviking.xml"},
        {L"NoSearchResult", L"NoSearchResult.xml"},
    };
    if (!name) return nullptr;
    const std::wstring wanted(name);
    for (const auto& entry : kSubLayouts) {
        if (wanted == entry[0]) {
            CDialogBuilder builder;
            return builder.Create(entry[1], nullptr, this, &m_PaintManager, nullptr);
        }
    }
    return nullptr;
}
