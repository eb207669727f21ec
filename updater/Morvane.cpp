// CMorvane: creation, the messages of Part "updater window" and the close convention.

#include "updater/Morvane.h"

#include <cwchar>
#include <thread>

#include "platform/DebugLog.h"
#include "updater/InstallStep.h"
#include "updater/StartInstall.h"
#include "updater/UpdateSession.h"

using namespace UiLib;

CMorvane::CMorvane(UpdaterConfig config)
    : startInstall(StartInstall), session_(std::make_shared<UpdateSession>(std::move(config))) {}

CMorvane::~CMorvane() = default;

bool CMorvane::WorkerRunning() const {
    return session_->working;
}

LRESULT CMorvane::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    LRESULT result = 0;
    try {
        result = WindowImplBase::OnCreate(uMsg, wParam, lParam, bHandled);
        trayIcon_ = NOTIFYICONDATAW{};
        trayIcon_.hWnd = m_hWnd;
        trayIcon_.uID = kTrayIconId;
        trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        trayIcon_.uCallbackMessage = UMSG_TRAY_NOTIFY;
        std::swprintf(trayIcon_.szTip, sizeof trayIcon_.szTip / sizeof trayIcon_.szTip[0], L"%ls",
                      kMorvaneTitle);
        trayIcon_.hIcon = LoadIconW(CPaintManagerUI::GetInstance(), MAKEINTRESOURCE(kTrayIconId));
        // Without a system tray (no desktop shell, or no display at all) the add fails;
        // the window still works and the tray menu is simply not there.
        Shell_NotifyIconW(NIM_ADD, &trayIcon_);
        if (trayIcon_.hIcon) DestroyIcon(trayIcon_.hIcon);
        SetTimer(m_hWnd, TIMER_ID_CHECK, 100);
    } catch (...) {
    }
    return result;
}

void CMorvane::InitWindow() {
    try {
        SetWindowPos(m_hWnd, nullptr, GetSystemMetrics(SM_CXSCREEN) - 400, 50, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        progress_ = static_cast<CProgressUI*>(m_PaintManager.FindControl(L"proFile"));
        label_ = static_cast<CLabelUI*>(m_PaintManager.FindControl(L"lblDownFile"));
        session_->window = m_hWnd;
    } catch (...) {
    }
}

LRESULT CMorvane::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kMenuShow) {
                UiLib::ShowWindow(m_hWnd, SW_SHOW);
                SetForegroundWindow(m_hWnd);
            } else if (LOWORD(wParam) == kMenuQuit) {
                UiLib::SendMessageW(m_hWnd, WM_CLOSE, 0, kCloseAsk);
                RemoveTrayIcon();
            }
            return 0;
        case WM_TIMER:
            if (wParam != TIMER_ID_CHECK) return 0;
            platform::DebugOutput("MS - 开始检测是否需要升级...");
            KillTimer(m_hWnd, TIMER_ID_CHECK);
            CheckForUpdate();
            break;
        case UMSG_TRAY_NOTIFY:
            if (lParam == WM_LBUTTONDBLCLK) {
                UiLib::ShowWindow(m_hWnd, SW_SHOW);
                SetForegroundWindow(m_hWnd);
            } else if (lParam == WM_RBUTTONDOWN) {
                ShowTrayMenu();
            }
            return 0;
        case UMSG_CHECK_DONE:
            OnCheckDone(wParam);
            return 0;
        case UMSG_DOWNLOAD_DONE:
            OnDownloadFinished(lParam == 1);
            return 0;
        case UMSG_PROGRESS:
            if (progress_) progress_->SetValue(static_cast<int>(wParam));
            return 0;
        case UMSG_LABEL:
            if (label_) label_->SetText(session_->Label().c_str());
            return 0;
        default:
            break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMorvane::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        if (msg.pSender->GetName() == L"BtnHide") {
            UiLib::ShowWindow(m_hWnd, SW_HIDE);
        } else if (msg.pSender->GetName() == L"BtnQuit") {
            UiLib::SendMessageW(m_hWnd, WM_CLOSE, 0, kCloseAsk);
            return;  // the window may be gone now
        }
    }
    // "closebtn" closes with lParam 0: the window only hides.
    WindowImplBase::Notify(msg);
}

LRESULT CMorvane::OnClose(UINT, WPARAM, LPARAM lParam, BOOL& bHandled) {
    if (lParam == kCloseAsk &&
        MessageBoxW(m_hWnd, L"确定终止更新吗？", L"询问", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return 0;
    if (lParam == kCloseAsk || lParam == kCloseNow) {
        PostQuitMessage(0);
        RemoveTrayIcon();
        bHandled = FALSE;  // the base destroys the window
        return 0;
    }
    UiLib::ShowWindow(m_hWnd, SW_HIDE);
    return 0;
}

LRESULT CMorvane::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled) {
    RemoveTrayIcon();
    bHandled = FALSE;
    return 0;
}

void CMorvane::RemoveTrayIcon() {
    if (trayIcon_.hWnd) Shell_NotifyIconW(NIM_DELETE, &trayIcon_);
}

void CMorvane::ShowTrayMenu() {
    const HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, kMenuShow, L"显示");
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, kMenuQuit, L"退出");
    POINT cursor{};
    GetCursorPos(&cursor);
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd);
    DestroyMenu(menu);
}

void CMorvane::CheckForUpdate() {
    session_->working = true;
    try {
        std::thread(UpdateThreadProc, session_).detach();
    } catch (const std::system_error&) {
        session_->working = false;
        UiLib::SendMessageW(m_hWnd, WM_CLOSE, 0, kCloseNow);
    }
}

void CMorvane::OnCheckDone(WPARAM outcome) {
    if (static_cast<CheckOutcome>(outcome) == CheckOutcome::kInstallPending && startInstall)
        startInstall(session_->config);
    UiLib::SendMessageW(m_hWnd, WM_CLOSE, 0, kCloseNow);
}

void CMorvane::OnDownloadFinished(bool success) {
    const UpdaterConfig& config = session_->config;
    try {
        if (success) {
            if (config.immediateUpdate != 0) {
                if (startInstall) startInstall(config);
            } else if (!session_->result.updateList.empty()) {
                const std::wstring question =
                    L"【" + config.clientWindowText + L"】已经升级完成\n\r是否现在更新?";
                // A postponed update stays staged; the next start installs it.
                if (MessageBoxW(m_hWnd, question.c_str(), L"友情提示",
                                MB_YESNO | MB_ICONQUESTION | MB_TOPMOST) == IDYES &&
                    startInstall)
                    startInstall(config);
            }
        } else {
            DeleteDirectoryTree(config.stagingFolder);
        }
    } catch (...) {
        DeleteDirectoryTree(config.stagingFolder);
    }
    UiLib::SendMessageW(m_hWnd, WM_CLOSE, 0, kCloseNow);
}
