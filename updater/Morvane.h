#pragma once

#include <functional>
#include <memory>

#include "uilib/UiLib.h"
#include "updater/UpdaterConfig.h"

// CMorvane: the updater's only window, a small fixed window from the skin linked into
// the executable ("ZIPRES" 103) with the label "lblDownFile", the bar "proFile" and
// the buttons "BtnHide" and "BtnQuit", plus a tray icon with a two-item menu. It
// starts hidden and carries the updater's flow: its start timer starts the check on
// a worker thread, the worker reports back with messages, and closing it ends the
// process.

inline constexpr const wchar_t* kMorvaneClass = L"Morvane";
inline constexpr const wchar_t* kMorvaneTitle = L"自动更新程序";
inline constexpr const char* kMorvaneMutex = "MUTEX_MORVANE";

// Private messages and timers.
inline constexpr UiLib::UINT UMSG_TRAY_NOTIFY = 2025;    // tray icon callback
inline constexpr UiLib::UINT TIMER_ID_CHECK = 2026;      // one-shot start timer, 100 ms
inline constexpr UiLib::UINT UMSG_CHECK_DONE = 2027;     // check ended; wParam a CheckOutcome
inline constexpr UiLib::UINT UMSG_PROGRESS = 2028;       // wParam the percentage
inline constexpr UiLib::UINT UMSG_LABEL = 2029;          // the label text changed
inline constexpr UiLib::UINT UMSG_DOWNLOAD_DONE = 2030;  // lParam 1 success, 0 failure
inline constexpr UiLib::UINT kTrayIconId = 102;
inline constexpr UiLib::UINT kMenuShow = 40002;
inline constexpr UiLib::UINT kMenuQuit = 40003;
inline constexpr UiLib::UINT kSkinResourceId = 103;

// WM_CLOSE lParam: 1 asks first, 2 closes at once, anything else only hides.
inline constexpr UiLib::LPARAM kCloseAsk = 1;
inline constexpr UiLib::LPARAM kCloseNow = 2;

struct UpdateSession;

class CMorvane : public UiLib::WindowImplBase {
public:
    explicit CMorvane(UpdaterConfig config);
    ~CMorvane() override;

    UiLib::LPCTSTR GetWindowClassName() const override { return kMorvaneClass; }
    UiLib::LRESULT HandleMessage(UiLib::UINT uMsg, UiLib::WPARAM wParam,
                                 UiLib::LPARAM lParam) override;
    void InitWindow() override;
    UiLib::CDuiString GetSkinFolder() override { return L""; }
    UiLib::CDuiString GetSkinFile() override { return L"Main.xml"; }
    UiLib::UILIB_RESOURCETYPE GetResourceType() const override { return UiLib::UILIB_ZIPRESOURCE; }
    UiLib::LPCTSTR GetResourceID() const override {
        return UiLib::MAKEINTRESOURCE(kSkinResourceId);
    }
    UiLib::LRESULT OnClose(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                           UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnDestroy(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                             UiLib::BOOL& bHandled) override;
    UiLib::LRESULT OnCreate(UiLib::UINT uMsg, UiLib::WPARAM wParam, UiLib::LPARAM lParam,
                            UiLib::BOOL& bHandled) override;
    void Notify(UiLib::TNotifyUI& msg) override;

    // How a complete download is handed to the install step (StartInstall); tests
    // put a recorder here.
    std::function<void(const UpdaterConfig&)> startInstall;
    // The program's instance, set by the entry after creation.
    UiLib::HINSTANCE instance = nullptr;

    // Whether the check or download thread is still at work.
    bool WorkerRunning() const;

private:
    void CheckForUpdate();
    void OnCheckDone(UiLib::WPARAM outcome);
    void OnDownloadFinished(bool success);
    void ShowTrayMenu();
    void RemoveTrayIcon();

    std::shared_ptr<UpdateSession> session_;
    UiLib::NOTIFYICONDATAW trayIcon_{};
    UiLib::CProgressUI* progress_ = nullptr;  // "proFile"
    UiLib::CLabelUI* label_ = nullptr;        // "lblDownFile"
};
