#pragma once

// CTrovik: the client's main window. It owns the search box, the banner, the start,
// searching, no-result and result views, the tray icon, and dispatches every click,
// key, timer, tray and menu event to the operation that handles it.

#include <cstdint>
#include <memory>
#include <string>

#include "client/core/MainWindowIdentity.h"
#include "client/frame/MsFrameWnd.h"
#include "uilib/UiLib.h"

class CFloatingToolWindow;

// Timer ids and private messages of the main window.
constexpr UiLib::UINT_PTR TIMER_BANNER = 2025;
constexpr UiLib::UINT_PTR TIMER_WAITING = 2029;
constexpr UiLib::UINT_PTR TIMER_TRAY = 2032;
constexpr UiLib::UINT UMSG_TRAY_CALLBACK = 28;
constexpr UiLib::UINT UMSG_MENU_COMMAND = 1145;
constexpr UiLib::UINT UMSG_LISTS_REFRESHED = 2031;

// The text the empty search box shows.
inline constexpr const wchar_t* kSearchHint = L"请输入片名";

class CTrovik : public CMsFrameWnd {
public:
    CTrovik();
    ~CTrovik() override;

    UiLib::LPCTSTR GetWindowClassName() const override;
    UiLib::LRESULT HandleMessage(UiLib::UINT uMsg, UiLib::WPARAM wParam,
                                 UiLib::LPARAM lParam) override;
    void InitWindow() override;
    UiLib::CDuiString GetSkinFile() override;
    UiLib::LRESULT OnClose(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                           UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnDestroy(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                             UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnMouseWheel(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                                UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnMouseHover(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                                UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnCreate(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                            UiLib::BOOL& bHandled) override;
    UiLib::LRESULT HandleCustomMessage(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                                       UiLib::BOOL& bHandled) override;
    // Builds one of the sub-layouts "OneTvInfo", "OneTvSource", "TvHistory",
    // "Troviking" and "NoSearchResult" (exact names); null for any other name or when
    // the skin lacks the file. The caller owns the result.
    virtual UiLib::CControlUI* CreateSubLayout(UiLib::LPCTSTR name);

    void Notify(UiLib::TNotifyUI& msg) override;

    // Controls of "Main.xml", looked up in InitWindow; null when the skin lacks one.
    UiLib::CEditUI* searchBox = nullptr;          // "edtSearchText"
    UiLib::CContainerUI* historyHost = nullptr;   // "hlSearchResult"
    UiLib::CContainerUI* bannerFront = nullptr;   // "hlTopHotTvLst1"
    UiLib::CContainerUI* bannerBack = nullptr;    // "hlTopHotTvLst2"
    UiLib::CControlUI* resultView = nullptr;      // "vlSearchResult"
    UiLib::CControlUI* searchingView = nullptr;   // "vlSearching"
    UiLib::CControlUI* noResultView = nullptr;    // "vlNoFindResult"
    UiLib::CControlUI* startView = nullptr;       // "vlTvHistory"
    UiLib::CTabLayoutUI* resultTabs = nullptr;    // "tlSearchResult", one page per show
    UiLib::CContainerUI* selectColumn = nullptr;  // "vlSelectResult"
    std::uint8_t bannerIndex = 0;                 // banner entry shown
    UiLib::NOTIFYICONDATAW trayIcon{};
    std::unique_ptr<CFloatingToolWindow> floatingWindow;
    std::int32_t initialWidth = 0;  // the layout's size; the width is the banner's
    std::int32_t initialHeight = 0;
    std::uint32_t bannerRestMs = 0;   // 3,000, set by the start-up
    std::uint32_t bannerSlideMs = 0;  // 5, set by the start-up
    UiLib::HINSTANCE instance = nullptr;
    // The installation folder (trailing "/") the client's paths are computed from;
    // empty: the executable's folder. Set before Create (tests use a private folder).
    std::string installationFolder;
    // The client executable's path that the paths and the updater hand-off use; empty:
    // the running executable. Set before Create (tests use a private installation).
    std::string executablePath;
};
