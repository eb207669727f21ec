#include "client/FloatToolWnd.h"

#include "client/mainwnd/PendingCalls.h"

std::unique_ptr<CFloatToolWnd> CreateFloatingWindow() {
    NotePendingCall(PendingOp::CreateFloatingWindow);
    return nullptr;
}
