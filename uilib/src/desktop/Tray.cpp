// Tray icons (Shell_NotifyIconW) and the tray's availability.

#include "uilib/src/desktop/Tray.h"

#include <cwchar>
#include <map>
#include <memory>

#include "uilib/core/Win32Api.h"
#include "uilib/src/Backend.h"
#include "uilib/src/dispatch/OnUiThread.h"
#include "uilib/src/resources/ResourceRegistry.h"

namespace UiLib {

using detail::TrayIconInfo;

namespace {

struct TrayEntry {
    TrayIconInfo info;
    std::unique_ptr<backend::TrayIcon> icon;
};

struct TrayState {
    std::map<std::pair<HWND, UINT>, TrayEntry> icons;
};

TrayState& Tray() {
    static TrayState s;
    return s;
}

bool AskBackend() {
    backend::Backend* b = backend::CurrentBackend();
    return b && b->IsTrayAvailable();
}

void Apply(const NOTIFYICONDATAW& data, TrayEntry& entry) {
    if (data.uFlags & NIF_MESSAGE) entry.info.callbackMessage = data.uCallbackMessage;
    if (data.uFlags & NIF_TIP) {
        entry.info.tip.assign(data.szTip, wcsnlen(data.szTip, std::size(data.szTip)));
        entry.icon->SetToolTip(entry.info.tip);
    }
    if (data.uFlags & NIF_ICON) {
        entry.info.icon = data.hIcon;
        const auto picture = detail::DecodeIcon(data.hIcon);
        entry.icon->SetIcon(picture.get());
        // The desktop shows an icon only once it has a picture.
        if (picture && !entry.icon->IsShown()) entry.icon->Show();
    }
}

}  // namespace

namespace backend {

void TrayAvailabilityChanged(bool available) {
    // News the installed backend does not confirm (stale, or overruled by a test) is
    // dropped.
    if (AskBackend() != available) return;
    for (HWND hWnd : detail::AllWindows()) {
        ::UiLib::PostMessageW(hWnd, UIMSG_TRAYCHANGED, available ? 1 : 0, 0);
    }
}

}  // namespace backend

namespace detail {

std::vector<TrayIconInfo> TrayIcons() {
    std::vector<TrayIconInfo> out;
    for (const auto& [key, entry] : Tray().icons) out.push_back(entry.info);
    return out;
}

bool SendTrayEvent(HWND hWnd, UINT id, UINT mouseMessage) {
    const auto it = Tray().icons.find({hWnd, id});
    if (it == Tray().icons.end()) return false;
    return ::UiLib::PostMessageW(hWnd, it->second.info.callbackMessage, id, mouseMessage) != FALSE;
}

void RemoveTrayIconsOf(HWND hWnd) {
    std::erase_if(Tray().icons, [hWnd](const auto& item) { return item.first.first == hWnd; });
}

}  // namespace detail

bool IsSystemTrayAvailable() {
    return detail::OnUi<bool>(AskBackend, false);
}

BOOL Shell_NotifyIconW(DWORD message, NOTIFYICONDATAW* data) {
    if (!data) return FALSE;
    return detail::OnUi<BOOL>(
        [=]() -> BOOL {
            auto& icons = Tray().icons;
            const auto key = std::make_pair(data->hWnd, data->uID);
            const auto it = icons.find(key);
            switch (message) {
                case NIM_ADD: {
                    backend::Backend* b = backend::CurrentBackend();
                    if (it != icons.end() || !IsWindow(data->hWnd) || !b) return FALSE;
                    const HWND hWnd = data->hWnd;
                    const UINT id = data->uID;
                    detail::AddWindowReleaseHook(&detail::RemoveTrayIconsOf);
                    TrayEntry entry;
                    entry.info.hWnd = hWnd;
                    entry.info.id = id;
                    // A tray reports no separate button presses: each activation is
                    // delivered as its press and release pair.
                    entry.icon = b->CreateTrayIcon([hWnd, id](backend::TrayClick click) {
                        switch (click) {
                            case backend::TrayClick::Click:
                                detail::SendTrayEvent(hWnd, id, WM_LBUTTONDOWN);
                                detail::SendTrayEvent(hWnd, id, WM_LBUTTONUP);
                                break;
                            case backend::TrayClick::DoubleClick:
                                detail::SendTrayEvent(hWnd, id, WM_LBUTTONDBLCLK);
                                break;
                            case backend::TrayClick::ContextClick:
                                detail::SendTrayEvent(hWnd, id, WM_RBUTTONDOWN);
                                detail::SendTrayEvent(hWnd, id, WM_RBUTTONUP);
                                break;
                        }
                    });
                    Apply(*data, entry);
                    icons.emplace(key, std::move(entry));
                    return TRUE;
                }
                case NIM_MODIFY:
                    if (it == icons.end()) return FALSE;
                    Apply(*data, it->second);
                    return TRUE;
                case NIM_DELETE:
                    if (it == icons.end()) return FALSE;
                    icons.erase(it);
                    return TRUE;
                default:
                    return FALSE;
            }
        },
        FALSE);
}

}  // namespace UiLib
