#include <cwchar>

#include "uilib/core/TrayIcon.h"
#include "uilib/core/Win32Api.h"

namespace UiLib {

namespace {
void FillTip(NOTIFYICONDATAW& data, LPCTSTR tip) {
    std::wcsncpy(data.szTip, tip ? tip : L"", std::size(data.szTip) - 1);
    data.szTip[std::size(data.szTip) - 1] = L'\0';
}
}  // namespace

CTrayIcon::~CTrayIcon() {
    DeleteTrayIcon();
}

bool CTrayIcon::CreateTrayIcon(HWND hWnd, UINT uId, LPCTSTR lpszToolTip, HICON hIcon,
                               UINT uMessage) {
    if (m_bVisible) DeleteTrayIcon();
    NOTIFYICONDATAW data;
    data.hWnd = hWnd;
    data.uID = uId;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = uMessage;
    data.hIcon = hIcon;
    FillTip(data, lpszToolTip);
    if (!Shell_NotifyIconW(NIM_ADD, &data)) return false;
    m_hWnd = hWnd;
    m_uId = uId;
    m_uMessage = uMessage;
    m_hIcon = hIcon;
    m_sTip = lpszToolTip;
    m_bVisible = true;
    return true;
}

void CTrayIcon::DeleteTrayIcon() {
    if (!m_bVisible) return;
    NOTIFYICONDATAW data;
    data.hWnd = m_hWnd;
    data.uID = m_uId;
    Shell_NotifyIconW(NIM_DELETE, &data);
    m_bVisible = false;
}

bool CTrayIcon::SetTooltipText(LPCTSTR lpszToolTip) {
    m_sTip = lpszToolTip;
    if (!m_bVisible) return false;
    NOTIFYICONDATAW data;
    data.hWnd = m_hWnd;
    data.uID = m_uId;
    data.uFlags = NIF_TIP;
    FillTip(data, lpszToolTip);
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

}  // namespace UiLib
