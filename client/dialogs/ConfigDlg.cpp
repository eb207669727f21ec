#include "client/dialogs/ConfigDlg.h"

#include "client/core/ClientSettings.h"
#include "client/frame/ClientProcess.h"

using namespace UiLib;

namespace {

CCheckBoxUI* FindCheckBox(CPaintManagerUI& manager, LPCTSTR name) {
    CControlUI* control = manager.FindControl(name);
    return control ? static_cast<CCheckBoxUI*>(control->GetInterface(L"CheckBox")) : nullptr;
}

void ShowFlag(CCheckBoxUI* box, bool on) {
    if (box) box->SetCheck(on, false);
}

void ReadFlag(const CCheckBoxUI* box, bool& flag) {
    if (box) flag = box->GetCheck();
}

}  // namespace

LPCTSTR CConfigDlg::GetWindowClassName() const {
    return L"ConfigDlg";
}

CDuiString CConfigDlg::GetSkinFile() {
    return L"ConfigDlg.xml";
}

LRESULT CConfigDlg::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled) {
    const LRESULT result = CMsFrameWnd::OnCreate(uMsg, wParam, lParam, bHandled);
    autoStart_ = FindCheckBox(m_PaintManager, L"chkAutoStart");
    minShowInBar_ = FindCheckBox(m_PaintManager, L"chkMinShowInBar");
    quitOnClose_ = FindCheckBox(m_PaintManager, L"chkQuitOnClose");
    showFloatingWindow_ = FindCheckBox(m_PaintManager, L"chkShowFloatingWindow");
    const ClientSettings& settings = ProcessClientSettings();
    ShowFlag(autoStart_, settings.AutoStart);
    ShowFlag(minShowInBar_, settings.MinShowInBar);
    ShowFlag(quitOnClose_, settings.QuitOnClose);
    ShowFlag(showFloatingWindow_, settings.ShowFloatingWindow);
    return result;
}

void CConfigDlg::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        const CDuiString name = msg.pSender->GetName();
        if (name == L"btnOk") {
            ClientSettings& settings = ProcessClientSettings();
            ReadFlag(autoStart_, settings.AutoStart);
            ReadFlag(minShowInBar_, settings.MinShowInBar);
            ReadFlag(quitOnClose_, settings.QuitOnClose);
            ReadFlag(showFloatingWindow_, settings.ShowFloatingWindow);
            ApplyAutoStart(settings.AutoStart);
            Close(kDialogOk);
        } else if (name == L"btnCancel") {
            Close(kDialogCancel);
        }
    }
    CMsFrameWnd::Notify(msg);
}

void OpenSettings(HWND owner) {
    CConfigDlg dlg;
    // Style and extended style of a small modal box owned by the main window.
    if (!dlg.Create(owner, L"CConfigDlg", 0x81, 0x100)) return;
    dlg.CenterWindow();
    if (dlg.ShowModal() != kDialogOk) return;
    // Without a floating window the handle is null and ShowWindow does nothing.
    ShowWindow(ClientProcess().floatingWindow.load(),
               ProcessClientSettings().ShowFloatingWindow ? SW_SHOWNORMAL : SW_HIDE);
    SaveSettings();
}
