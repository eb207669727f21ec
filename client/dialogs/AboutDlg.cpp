#include "client/dialogs/AboutDlg.h"

#include "client/core/UsageIdentity.h"
#include "platform/OpenUrl.h"

using namespace UiLib;

LPCTSTR CAboutDlg::GetWindowClassName() const {
    return L"AboutDlg";
}

CDuiString CAboutDlg::GetSkinFile() {
    return L"AboutDlg.xml";
}

void CAboutDlg::InitWindow() {
    if (CControlUI* version = m_PaintManager.FindControl(L"txtAppVersion")) {
        version->SetText((L"当前版本 : " + Utf8ToWide(versionText_)).c_str());
    }
    CMsFrameWnd::InitWindow();
}

void CAboutDlg::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        const CDuiString name = msg.pSender->GetName();
        if (name == L"btnOk") {
            Close(kDialogOk);
        } else if (name == L"btnAppWebSite") {
            // The skin's address; a page that cannot be opened is ignored.
            const CDuiString& address = msg.pSender->GetUserData();
            if (!address.IsEmpty()) platform::OpenUrl(WideToUtf8(address.str()));
        }
    }
    CMsFrameWnd::Notify(msg);
}

int ShowAbout(HWND owner) {
    CAboutDlg dlg(GetFileVersionText(""));
    if (!dlg.Create(owner, L"CAboutDlg", 0x81, 0x81)) return 0;
    dlg.CenterWindow();
    return static_cast<int>(dlg.ShowModal());
}
