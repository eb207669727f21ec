#pragma once

// CTrayIcon: one notification-area icon of a window.

#include "uilib/core/DuiString.h"
#include "uilib/core/Win32Types.h"

namespace UiLib {

class CTrayIcon {
public:
    CTrayIcon() = default;
    ~CTrayIcon();
    CTrayIcon(const CTrayIcon&) = delete;
    CTrayIcon& operator=(const CTrayIcon&) = delete;

    // Adds the icon; its events arrive at hWnd as uMessage (lParam = mouse message).
    bool CreateTrayIcon(HWND hWnd, UINT uId, LPCTSTR lpszToolTip, HICON hIcon, UINT uMessage);
    void DeleteTrayIcon();
    bool SetTooltipText(LPCTSTR lpszToolTip);
    CDuiString GetTooltipText() const { return m_sTip; }
    bool IsVisible() const { return m_bVisible; }

private:
    HWND m_hWnd = nullptr;
    UINT m_uId = 0;
    UINT m_uMessage = 0;
    HICON m_hIcon = nullptr;
    CDuiString m_sTip;
    bool m_bVisible = false;
};

}  // namespace UiLib
