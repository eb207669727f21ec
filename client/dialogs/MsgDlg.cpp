#include "client/dialogs/MsgDlg.h"

using namespace UiLib;

LPCTSTR CMsgDlg::GetWindowClassName() const {
    return L"MsgDlg";
}

CDuiString CMsgDlg::GetSkinFile() {
    return L"MsgDlg.xml";
}

void CMsgDlg::Notify(TNotifyUI& msg) {
    if (msg.sType == DUI_MSGTYPE_CLICK && msg.pSender) {
        const CDuiString name = msg.pSender->GetName();
        if (name == L"btnOk") {
            Close(kAnswerQuit);
        } else if (name == L"btnCancel") {
            Close(kAnswerStay);
        }
    }
    CMsFrameWnd::Notify(msg);
}

int ShowQuitConfirm(HWND owner) {
    CMsgDlg dlg;
    // Style and extended style of a small modal box owned by the main window.
    if (!dlg.Create(owner, L"CMsgDlg", 0x81, 0x81)) return 0;
    dlg.CenterWindow();
    return static_cast<int>(dlg.ShowModal());
}
