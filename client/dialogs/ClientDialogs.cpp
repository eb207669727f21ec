#include "client/dialogs/ClientDialogs.h"

#include "client/mainwnd/PendingCalls.h"

void OpenSettings(UiLib::HWND) {
    NotePendingCall(PendingOp::OpenSettings);
}

void OpenSkinDialog(CMsFrameWnd&) {
    NotePendingCall(PendingOp::OpenSkinDialog);
}

int ShowAbout(UiLib::HWND) {
    NotePendingCall(PendingOp::ShowAbout);
    return 0;
}
