#pragma once

// CTrovik: the client's main window. It owns the search box, the banner, the start,
// searching, no-result and result views, the tray icon, and dispatches every click,
// key, timer, tray and menu event to the operation that handles it. Its state lives in
// its model (MainModel.h); the controls it works with are found once (MainControls.h).

#include <memory>
#include <string>

#include "client/core/MainWindowIdentity.h"
#include "client/frame/MsFrameWnd.h"
#include "client/mainwnd/MainControls.h"
#include "client/mainwnd/MainModel.h"
#include "uilib/UiLib.h"

class CFloatingToolWindow;

// Timer ids and private messages of the main window.
constexpr UiLib::UINT_PTR TIMER_BANNER = 2025;
constexpr UiLib::UINT_PTR TIMER_WAITING = 2029;
constexpr UiLib::UINT_PTR TIMER_TRAY = 2032;
constexpr UiLib::UINT UMSG_TRAY_CALLBACK = 28;
constexpr UiLib::UINT UMSG_LISTS_REFRESHED = 2031;

// The text the empty search box shows.
inline constexpr const wchar_t* kSearchHint = L"请输入片名";

class CTrovik : public CMsFrameWnd {
public:
    // `installationFolder` (trailing "/"): where the client's paths are computed from;
    // empty: the executable's folder. `executablePath`: the client executable that the
    // paths and the updater hand-off use; empty: the running executable. Tests give a
    // private installation.
    explicit CTrovik(std::string installationFolder = {}, std::string executablePath = {});
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
    // The main window's keys (TrovikKeys.cpp): PgUp/PgDn, and Up/Down away from the
    // search box, page the results as the wheel does; Home/End show the first and last
    // page; Left/Right step the selected page's episode blocks. Escape does not put the
    // window away.
    UiLib::LRESULT ResponseDefaultKeyEvent(UiLib::WPARAM wParam) override;
    // The selected page's episode block before (step < 0) or after the shown one, as
    // its "<<" and ">>" buttons do.
    void StepEpisodeBlock(int step);

    // The window's state: result items, search channel, lists, banner, waiting frame.
    MainModel& model() { return model_; }
    // The controls of "Main.xml", found when the window initialises.
    const MainControls& controls() const { return controls_; }

private:
    // The tray icon (TrovikTray.cpp). Added when the desktop offers a tray (false when
    // it does not: a tray that appears later announces itself, UIMSG_TRAYCHANGED).
    bool AddTrayIcon();
    void RemoveTrayIcon();
    // Whether the icon sits in a tray now, as the way back to a hidden window.
    bool HasTrayIcon() const;
    // Puts the window away: hidden in the tray when its icon is there, else minimised
    // to the task bar, where the user can find it again.
    void HideMainWindow();
    // The tray came (the icon is added) or went (a window hidden in it comes back
    // minimised to the task bar).
    void OnTrayChanged(bool available);
    // Brings the window to the front and opens the tray menu at the pointer, opening
    // upwards and to the left.
    void OpenMainTrayMenu();

    // The items of the tray menu and of the floating window's menu (TrovikMessages.cpp).
    void OnMenuItem(const UiLib::CDuiString& item);
    // One page of "tlSearchResult" back (delta > 0) or on, with its select button.
    void PageByWheel(short delta);
    // The wheel's paging with its re-entrancy guard (the wheel and the paging keys).
    void PageResults(short delta);
    // Shows page `target` of "tlSearchResult" and selects its select button.
    void ShowResultPage(int target);

    std::string installationFolder_;
    std::string executablePath_;
    MainControls controls_;
    MainModel model_;
    UiLib::NOTIFYICONDATAW trayIcon_{};
    std::unique_ptr<CFloatingToolWindow> floatingWindow_;
    // Set while a wheel turn is handled, so a turn that arrives from inside the page
    // change (a nested message loop) does not page again.
    bool inWheel_ = false;
};
