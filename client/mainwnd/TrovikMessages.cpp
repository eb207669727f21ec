// CTrovik's window messages: timers, tray and menu events, private messages of the
// worker threads, closing, destruction, wheel and hover.

#include <cstdint>
#include <cstdio>
#include <string>

#include "client/core/ClientSettings.h"
#include "client/core/UpdaterHandOff.h"
#include "client/dialogs/ClientDialogs.h"
#include "client/dialogs/MsgDlg.h"
#include "client/frame/ClientProcess.h"
#include "client/frame/FloatToolWnd.h"
#include "client/frame/TrayMenu.h"
#include "client/mainwnd/Banner.h"
#include "client/mainwnd/HotLists.h"
#include "client/mainwnd/ResultPresenter.h"
#include "client/mainwnd/SearchFlow.h"
#include "client/mainwnd/Trovik.h"
#include "client/menu/MenuItemMessage.h"

using namespace UiLib;

void CTrovik::OnMenuItem(const CDuiString& item) {
    if (item == L"Menu_Settings") {
        OpenSettings(m_hWnd);
    } else if (item == L"Menu_ShowHideMain") {
        if (IsWindowShown(m_hWnd)) {
            HideMainWindow();
        } else {
            // Also brings a window back from the task bar.
            UiLib::ShowWindow(m_hWnd, SW_SHOW);
            SetForegroundWindow(m_hWnd);
        }
    } else if (item == L"Menu_ShowHideFloat") {
        const HWND floating = floatingWindow_ ? floatingWindow_->GetHWND() : nullptr;
        UiLib::ShowWindow(floating, IsWindowVisible(floating) ? SW_HIDE : SW_SHOWNORMAL);
        // Kept in memory only; the settings dialog is what saves it.
        ProcessClientSettings().ShowFloatingWindow = IsWindowVisible(floating) != FALSE;
    } else if (item == L"Menu_About") {
        ShowAbout(m_hWnd);
    } else if (item == L"Menu_CheckUpdate") {
        StartUpdater();
    } else if (item == L"Menu_Close") {
        UiLib::SendMessageW(m_hWnd, WM_CLOSE, 0, 1);
    }
}

void CTrovik::PageByWheel(short delta) {
    CTabLayoutUI* tabs = controls_.resultTabs;
    if (!tabs || delta == 0) return;
    const int cur = tabs->GetCurSel();
    const int count = tabs->GetCount();
    int target = 0;
    if (delta > 0) {  // turned away from the user: the previous page
        if (count < 1 || cur < 1) return;
        target = cur - 1;
    } else {
        if (cur >= count - 1) return;
        target = cur + 1;
    }
    ShowResultPage(target);
}

void CTrovik::ShowResultPage(int target) {
    CTabLayoutUI* tabs = controls_.resultTabs;
    if (!tabs || target < 0 || target >= tabs->GetCount()) return;
    tabs->SelectItem(target);
    if (!controls_.selectColumn) return;
    const std::wstring name = L"btnSelectTv" + std::to_wstring(target);
    CControlUI* button = m_PaintManager.FindSubControlByName(controls_.selectColumn, name.c_str());
    if (!button) return;
    if (auto* option = static_cast<COptionUI*>(button->GetInterface(L"Option"))) {
        option->Selected(true);
    }
}

LRESULT CTrovik::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == WM_TIMER) {
        if (wParam == TIMER_BANNER && ClientProcess().animationEnabled.load()) {
            BannerStep(*this);
        } else if (wParam == TIMER_WAITING && ClientProcess().animationEnabled.load()) {
            StepWaitingAnimation(*this);
        }
        // The first tick adds the tray icon if the desktop has a tray; a tray that comes
        // later announces itself (UIMSG_TRAYCHANGED), so no tick needs to ask again.
        if (wParam == TIMER_TRAY) {
            KillTimer(m_hWnd, TIMER_TRAY);
            AddTrayIcon();
        }
    } else if (uMsg == UMSG_SEARCH_EMPTY) {
        OnSearchEmpty(*this);
    }
    return CMsFrameWnd::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CTrovik::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    switch (uMsg) {
        case kMenuItemMessage: {
            // The sender allocated the name; it is released when this scope ends,
            // whatever the name was.
            const std::unique_ptr<CDuiString> item = TakeMenuItemName(wParam);
            if (item) OnMenuItem(*item);
            break;
        }
        case UMSG_TRAY_CALLBACK:
            if (lParam == WM_LBUTTONDOWN) {
                UiLib::ShowWindow(m_hWnd, SW_SHOW);
                SetForegroundWindow(m_hWnd);
            } else if (lParam == WM_RBUTTONUP) {
                OpenMainTrayMenu();
            }
            break;
        case UIMSG_TRAYCHANGED:
            OnTrayChanged(wParam != 0);
            break;
        case WM_MOUSELEAVE:
            ClientProcess().animationEnabled.store(true);
            break;
        case UMSG_SEARCH_ITEM:
            OnSearchItem(*this, reinterpret_cast<const ResultItem*>(wParam),
                         static_cast<int>(lParam));
            break;
        case UMSG_LISTS_REFRESHED:
            if (wParam != 0) LoadHotList(model_.lists.hot);
            if (lParam != 0) LoadSiteList(model_.lists.sites);
            if (wParam != 0 || lParam != 0) RefreshPanelButtons(*this);
            break;
        default:
            break;
    }
    bHandled = FALSE;
    return 0;
}

LRESULT CTrovik::OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    if (lParam == 1) {
        // "BtnQuit" and "Menu_Close": only a confirmed question quits.
        if (ShowQuitConfirm(m_hWnd) != kAnswerQuit) {
            bHandled = TRUE;
            return 0;
        }
    } else if (lParam != 2 && !ProcessClientSettings().QuitOnClose) {
        // The caption's close button and the desktop's close put the client in the tray
        // (or on the task bar when the desktop has no tray).
        HideMainWindow();
        bHandled = TRUE;
        return 0;
    }
    PostQuitMessage(0);
    return CMsFrameWnd::OnClose(uMsg, wParam, lParam, bHandled);
}

LRESULT CTrovik::OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    KillTimer(m_hWnd, TIMER_WAITING);
    KillTimer(m_hWnd, TIMER_BANNER);
    RemoveTrayIcon();
    // The workers of a search still running report to nobody from now on.
    model_.search->SetWindow(nullptr);
    // Without a floating window there is no position to keep: the stored one stays.
    if (const HWND floating = floatingWindow_ ? floatingWindow_->GetHWND() : nullptr) {
        RECT rc{};
        if (GetWindowRect(floating, &rc)) SaveFloatingPosition(rc.left, rc.top);
        // The floating window lives as long as the main window.
        DestroyWindow(floating);
    }
    HWND self = m_hWnd;
    ClientProcess().mainWindow.compare_exchange_strong(self, nullptr);
    return CMsFrameWnd::OnDestroy(uMsg, wParam, lParam, bHandled);
}

void CTrovik::PageResults(short delta) {
    if (inWheel_) return;
    inWheel_ = true;
    try {
        PageByWheel(delta);
    } catch (...) {
        // A failing page change leaves the pages as they are; the wheel stays usable.
    }
    inWheel_ = false;
}

LRESULT CTrovik::OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    PageResults(GET_WHEEL_DELTA_WPARAM(wParam));
    bHandled = FALSE;
    return 0;
}

LRESULT CTrovik::OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    // The animations pause while the pointer rests on the band from y = 33 to y = 147
    // (the banner's text), tested on the packed (x, y) value as Windows code does.
    const auto packed = static_cast<std::uint32_t>(lParam);
    ClientProcess().animationEnabled.store(packed < 0x00210000u || packed > 0x0093FFFFu);
    return CMsFrameWnd::OnMouseHover(uMsg, wParam, lParam, bHandled);
}
