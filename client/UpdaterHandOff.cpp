#include "client/UpdaterHandOff.h"

#include "client/mainwnd/PendingCalls.h"

bool StartUpdater() {
    NotePendingCall(PendingOp::StartUpdater);
    return true;
}
